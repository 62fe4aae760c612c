// S3C24xx: PWM timer 2 borrowed as the transmit engine borrows it, counting at the rate
// CLKDIVN and TCFG0 give, reloading with its pending bit.

#include <gtest/gtest.h>

#include "HardwareTesting.h"
#include <string>

#include "ce/Thread.h"

namespace sim_tests {

namespace {

constexpr ce::DWORD kTcfg1 = 0x04, kTcon = 0x08, kTcntb2 = 0x24, kTcnto2 = 0x2C;
constexpr ce::DWORD kSrcpnd = 0x00, kIntpnd = 0x10;
constexpr std::uint32_t kTimer2Bit = 0x1000;

struct S3cCase {
    std::string profile;
    std::uint32_t ticks_per_ms;  // clock / HCLK and PCLK dividers / (prescaler + 1) / 2
};

void PrintTo(const S3cCase& c, std::ostream* out) { *out << c.profile; }

class S3cTransmitTest : public HardwareTest, public ::testing::WithParamInterface<S3cCase> {
protected:
    void SetUp() override {
        HardwareTest::SetUp();
        use_profile(GetParam().profile);
        timers_ = map(0x51000000);
        interrupts_ = map(0x4A000000);
    }

    // Timer 2 as the transmit engine sets it up: manual update with auto-reload from 65535,
    // then start, divider 1/2.
    void start_timer2() {
        saved_tcon_ = timers_.read32(kTcon) & 0xF000;
        saved_tcfg1_ = timers_.read32(kTcfg1) & 0xF00;
        timers_.write32(kTcon, timers_.read32(kTcon) & ~0x1000u);
        timers_.write32(kTcon, timers_.read32(kTcon) | 0xA000);
        timers_.write32(kTcntb2, 65535);
        timers_.write32(kTcon, timers_.read32(kTcon) | 0x1000);
        timers_.write32(kTcon, timers_.read32(kTcon) & ~0x2000u);
        timers_.write32(kTcfg1, timers_.read32(kTcfg1) & ~0xF00u);
    }

    void stop_timer2() {
        timers_.write32(kTcon, (timers_.read32(kTcon) & ~0xF000u) | saved_tcon_);
        timers_.write32(kTcfg1, timers_.read32(kTcfg1) | saved_tcfg1_);
    }

    std::uint32_t count() { return timers_.read32(kTcnto2) & 0xFFFF; }

    ce::RegisterPage timers_, interrupts_;
    std::uint32_t saved_tcon_ = 0, saved_tcfg1_ = 0;
};

TEST_P(S3cTransmitTest, TimerRunsAtTheRateTheClockDividerAndPrescalerGive) {
    start_timer2();
    const std::uint32_t before = count();
    ce::Sleep(10);
    const std::uint32_t after = count();
    EXPECT_NEAR(static_cast<double>((before - after) & 0xFFFF), 10.0 * GetParam().ticks_per_ms, 2);
    stop_timer2();
}

TEST_P(S3cTransmitTest, ReloadRaisesThePendingBitUntilCleared) {
    start_timer2();
    interrupts_.write32(kSrcpnd, kTimer2Bit);
    interrupts_.write32(kIntpnd, kTimer2Bit);
    EXPECT_EQ(interrupts_.read32(kSrcpnd) & kTimer2Bit, 0u);
    const auto start = machine().soc().clock().now();
    while ((interrupts_.read32(kSrcpnd) & kTimer2Bit) == 0) {
    }
    const double waited_ms = static_cast<double>(machine().soc().clock().now() - start) / 1e6;
    EXPECT_LE(waited_ms, 65536.0 / GetParam().ticks_per_ms + 0.01);
    EXPECT_GT(count(), 65000u);  // just reloaded from TCNTB2
    interrupts_.write32(kSrcpnd, kTimer2Bit);
    EXPECT_EQ(interrupts_.read32(kSrcpnd) & kTimer2Bit, 0u);
    stop_timer2();
}

INSTANTIATE_TEST_SUITE_P(Families, S3cTransmitTest,
                         ::testing::Values(S3cCase{"s3c2410", 1750}, S3cCase{"s3c2440", 1000}),
                         [](const auto& row) { return row.param.profile; });

}  // namespace

}  // namespace sim_tests
