// OMAP1510: UART3 shifting bytes at the divisor's rate; its banked registers reading
// back what was saved; a one-shot MPU timer. OMAP850: a free-running MPU timer.

#include <gtest/gtest.h>

#include "HardwareTesting.h"
#include "ce/Thread.h"
#include "sim/omap/Omap1510Uart3.h"

namespace sim_tests {

namespace {

using Uart = sim::Omap1510Uart3;
constexpr ce::DWORD kLsr = Uart::kLsr - Uart::kRegisters;  // offsets below are from the page
constexpr ce::DWORD kTimer2 = 0x600, kTimer3 = 0x700, kCntl = 0, kLoad = 4, kRead = 8;

class Omap1510Test : public HardwareTest {
protected:
    void SetUp() override {
        HardwareTest::SetUp();
        use_profile("omap1510");
        uart_ = map(0xFFFB9000);
        timers_ = map(0xFFFEC000);
    }

    void reg(ce::DWORD offset, ce::BYTE value) { uart_.write8(Uart::kRegisters + offset, value); }
    ce::BYTE reg(ce::DWORD offset) { return uart_.read8(Uart::kRegisters + offset); }

    // The divisor part of the engine's UART programming: UART off, divisor, 8N1, UART mode.
    void program(ce::BYTE divisor) {
        reg(0x20, 0x07);
        reg(0x0C, 0xBF);
        reg(0x04, 0x00);
        reg(0x00, divisor);
        reg(0x0C, 0x03);
        reg(0x4C, 0x00);
        reg(0x20, 0x80);
    }

    void space(std::uint32_t ticks) {
        timers_.write32(kTimer2 + kCntl, 0x64);
        timers_.write32(kTimer2 + kLoad, ticks);
        timers_.write32(kTimer2 + kCntl, 0x65);
        while ((timers_.read32(kTimer2 + kCntl) & 1) != 0) {
        }
        timers_.write32(kTimer2 + kCntl, 0x64);
    }

    ce::RegisterPage uart_, timers_;
};

TEST_F(Omap1510Test, BytesWrittenToThrTakeTenBitTimesEach) {
    program(39);
    reg(0x00, 0x55);
    EXPECT_EQ(reg(kLsr) & Uart::kTemt, 0);
    const auto start = machine().soc().clock().now();
    while ((reg(kLsr) & Uart::kTemt) == 0) {
    }
    EXPECT_NEAR(static_cast<double>(machine().soc().clock().now() - start), 130'000, 200);
}

TEST_F(Omap1510Test, BankedRegistersReadBackWhatWasWritten) {
    reg(0x0C, 0xBF);
    reg(0x00, 39);
    reg(0x04, 0x01);
    reg(0x08, 0x10);
    reg(0x3C, 0x01);
    reg(0x0C, 0x03);
    reg(0x04, 0x00);
    reg(0x3C, 0x7F);
    reg(0x08, 0x07);  // FCR in operational mode, not EFR
    EXPECT_EQ(reg(0x04), 0x00);
    EXPECT_EQ(reg(0x3C), 0x7F);
    reg(0x0C, 0xBF);
    EXPECT_EQ(reg(0x00), 39);
    EXPECT_EQ(reg(0x04), 0x01);
    EXPECT_EQ(reg(0x08), 0x10);
    EXPECT_EQ(reg(0x3C), 0x01);
}

TEST_F(Omap1510Test, OneShotTimerClearsItsStartBitAfterLoadTicks) {
    // Timer 1 carries the system tick; timer 2 is free to borrow.
    EXPECT_EQ(timers_.read32(0x500 + kCntl) & 1, 1u);
    EXPECT_EQ(timers_.read32(kTimer2 + kCntl) & 1, 0u);
    const auto start = machine().soc().clock().now();
    space(3038 * 5);
    EXPECT_NEAR(static_cast<double>(machine().soc().clock().now() - start), 5e6, 500);
    EXPECT_EQ(timers_.read32(kTimer2 + kRead), 0u);
}

class Omap850Test : public HardwareTest {};

TEST_F(Omap850Test, FreeRunningTimerCountsDownAt648TicksPer100UsThroughZero) {
    use_profile("omap850");
    const auto timers = map(0xFFFEC000);
    timers.write32(kTimer3 + kCntl, 0xFFFFFF00);
    timers.write32(kTimer3 + kLoad, 0xFFFFFFFF);
    timers.write32(kTimer3 + kCntl, 0xFFFFFFE3);  // auto-reload, prescaler 0, started
    const std::uint32_t before = timers.read32(kTimer3 + kRead);
    ce::Sleep(1);
    EXPECT_NEAR(static_cast<double>(before - timers.read32(kTimer3 + kRead)), 6480, 2);
    // Reloading from 0xFFFFFFFF, it steps through 0 as a 32-bit wrap.
    // Started from 100 with LOAD then set to 0xFFFFFFFF: 101 ticks to 0, then 0xFFFFFFFF.
    timers.write32(kTimer3 + kCntl, 0xFFFFFF00);
    timers.write32(kTimer3 + kLoad, 100);
    timers.write32(kTimer3 + kCntl, 0xFFFFFFE3);
    timers.write32(kTimer3 + kLoad, 0xFFFFFFFF);
    ce::Sleep(1);
    EXPECT_NEAR(static_cast<double>(0u - timers.read32(kTimer3 + kRead)), 6480 - 100, 2);
}

}  // namespace

}  // namespace sim_tests
