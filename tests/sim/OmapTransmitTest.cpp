// OMAP1510: UART3 shifting 0x55 at the divisor's rate, cut by an MPU one-shot timer;
// its banked registers reading back what was saved. OMAP850: a GPIO carrier timed by a
// free-running MPU timer, pins and masks put back.

#include <gtest/gtest.h>

#include "HardwareTesting.h"
#include "ce/Infrared.h"
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

    void mark(std::uint32_t ticks) {
        timers_.write32(kTimer2 + kCntl, 0x64);
        timers_.write32(kTimer2 + kLoad, ticks);
        timers_.write32(kTimer2 + kCntl, 0x65);
        reg(0x0C, 0x03);
        reg(0x00, 0x55);
        for (;;) {
            if ((timers_.read32(kTimer2 + kCntl) & 1) == 0) {
                reg(0x0C, 0x43);
                timers_.write32(kTimer2 + kCntl, 0x64);
                return;
            }
            if ((reg(kLsr) & Uart::kTemt) != 0) reg(0x00, 0x55);
        }
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

struct DivisorCase {
    ce::BYTE divisor;
    double period_ns;  // two bit times at 48 MHz / 16 / divisor
};

void PrintTo(const DivisorCase& c, std::ostream* out) { *out << "divisor " << int{c.divisor}; }

class Omap1510DivisorTest : public Omap1510Test, public ::testing::WithParamInterface<DivisorCase> {};

TEST_P(Omap1510DivisorTest, UartShiftsTheCarrierAtTheDivisorRate) {
    program(GetParam().divisor);
    ce::BeginInfraredTrace();
    mark(3038 * 2);  // 2 ms
    space(3038);     // 1 ms
    mark(3038);
    ce::EndInfraredTrace();
    const auto& trace = machine().last_trace();
    ASSERT_TRUE(trace.has_value());
    EXPECT_NEAR(trace->period_ns, GetParam().period_ns, 1.0);
    EXPECT_NEAR(trace->duty, 0.5, 0.01);
    ASSERT_EQ(trace->segments.size(), 3u);
    EXPECT_NEAR(static_cast<double>(trace->segments[0].ns), 2e6, GetParam().period_ns * 1.5);
    EXPECT_NEAR(static_cast<double>(trace->segments[1].ns), 1e6, GetParam().period_ns * 1.5);
    EXPECT_NEAR(static_cast<double>(trace->segments[2].ns), 1e6, GetParam().period_ns * 1.5);
}

INSTANTIATE_TEST_SUITE_P(Divisors, Omap1510DivisorTest,
                         ::testing::Values(DivisorCase{39, 26000}, DivisorCase{17, 2 * 16 * 17 / 48.0 * 1000},
                                           DivisorCase{144, 96000}),
                         [](const auto& row) { return "divisor" + std::to_string(row.param.divisor); });

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

TEST_F(Omap850Test, GpioCarrierOnAFreeRunningTimerAndRestoredPins) {
    use_profile("omap850");
    const auto timers = map(0xFFFEC000), gpio = map(0xFFFBC000), configuration = map(0xFFFE1000);
    const std::uint32_t mask = gpio.read32(0x810), direction = gpio.read32(0x808), mux = configuration.read32(0x7C);
    gpio.write32(0x810, mask | 0x60);
    gpio.write32(0x808, direction & ~0x20u);
    configuration.write32(0x7C, (mux & ~0x2200u) | 0xCC00);
    const std::uint32_t cntl = timers.read32(kTimer3 + kCntl);
    timers.write32(kTimer3 + kCntl, 0xFFFFFF00);
    timers.write32(kTimer3 + kLoad, 0xFFFFFFFF);
    timers.write32(kTimer3 + kCntl, 0xFFFFFFE2);
    timers.write32(kTimer3 + kCntl, timers.read32(kTimer3 + kCntl) | 1);

    const std::uint32_t before = timers.read32(kTimer3 + kRead);
    ce::Sleep(1);
    EXPECT_NEAR(static_cast<double>(before - timers.read32(kTimer3 + kRead)), 6480, 2);

    const std::uint32_t p = 26 * 6480 / 1000, low = p / 2, high = p - p / 2;
    ce::BeginInfraredTrace();
    std::uint32_t t = timers.read32(kTimer3 + kRead);
    for (int i = 0; i < 12; ++i) {
        gpio.write32(0x804, gpio.read32(0x804) | 0x20);
        t -= low;
        while (timers.read32(kTimer3 + kRead) > t) {
        }
        gpio.write32(0x804, gpio.read32(0x804) & ~0x20u);
        t -= high;
        while (timers.read32(kTimer3 + kRead) > t) {
        }
    }
    ce::EndInfraredTrace();
    timers.write32(kTimer3 + kCntl, timers.read32(kTimer3 + kCntl) & ~1u);
    timers.write32(kTimer3 + kCntl, 0xFFFFFF00);
    timers.write32(kTimer3 + kCntl, cntl);
    configuration.write32(0x7C, (configuration.read32(0x7C) & ~0xEE00u) | (mux & 0xEE00));
    gpio.write32(0x810, mask);
    gpio.write32(0x808, direction);

    const auto& trace = machine().last_trace();
    ASSERT_TRUE(trace.has_value());
    EXPECT_NEAR(trace->period_ns, p * 1000 / 6.48, 1.0);
    EXPECT_EQ(trace->segments.at(0).cycles, 12u);
    EXPECT_TRUE(machine().soc().journal().unrestored().empty());
    EXPECT_EQ(timers.read32(kTimer3 + kCntl), cntl);
}

}  // namespace

}  // namespace sim_tests
