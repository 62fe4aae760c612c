// S3C24xx: PWM timer 2 borrowed as the transmit engine borrows it, counting at the rate
// CLKDIVN and TCFG0 give, reloading with its pending bit; the carrier on GPH as GPIO.

#include <gtest/gtest.h>

#include "HardwareTesting.h"
#include <string>

#include "ce/Infrared.h"
#include "ce/Processor.h"
#include "ce/Thread.h"

namespace sim_tests {

namespace {

constexpr ce::DWORD kTcfg0 = 0x00, kTcfg1 = 0x04, kTcon = 0x08, kTcntb2 = 0x24, kTcnto2 = 0x2C;
constexpr ce::DWORD kSrcpnd = 0x00, kIntmsk = 0x08, kIntpnd = 0x10, kGphcon = 0x70, kGphdat = 0x74;
constexpr std::uint32_t kTimer2Bit = 0x1000;

struct S3cCase {
    std::string profile;
    std::uint32_t ticks_per_ms;  // what the driver's arithmetic gives for this profile
    unsigned pin;                // GPH pin of the infrared UART's TXD
};

void PrintTo(const S3cCase& c, std::ostream* out) { *out << c.profile; }

class S3cTransmitTest : public HardwareTest, public ::testing::WithParamInterface<S3cCase> {
protected:
    void SetUp() override {
        HardwareTest::SetUp();
        use_profile(GetParam().profile);
        timers_ = map(0x51000000);
        interrupts_ = map(0x4A000000);
        gpio_ = map(0x56000000);
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

    // Until the down-counter passes x, as the engine waits.
    void wait_passes(std::uint32_t x) {
        if (x >= count()) {
            while (count() < x) {
            }
        }
        while (count() > x) {
        }
    }

    ce::RegisterPage timers_, interrupts_, gpio_;
    std::uint32_t saved_tcon_ = 0, saved_tcfg1_ = 0;
};

// The timer rate as the transmit engine works it out: processor clock from the record,
// CLKDIVN read through a read-only page, the prescaler from TCFG0, in single precision.
std::uint32_t driver_ticks_per_ms(const ce::RegisterPage& timers, const ce::RegisterPage& clocks) {
    ce::PROCESSOR_INFO info;
    if (!ce::KernelIoControl(ce::IOCTL_PROCESSOR_INFORMATION, nullptr, 0, &info, sizeof info, nullptr)) return 1000;
    float mhz = static_cast<float>(info.dwClockSpeed);
    if (info.dwClockSpeed == 0) mhz = 203;
    if (info.dwClockSpeed == 266'000'000) mhz = 266;
    if (info.dwClockSpeed == 400'000'000) mhz = 400;
    const std::u16string text = std::u16string(info.szProcessCore) + info.szProcessorName;
    const std::uint32_t clkdivn = clocks.read32(0x14);
    const std::uint32_t hdivn = text.find(u"244") != std::u16string::npos ? (clkdivn >> 1) & 3 : (clkdivn >> 1) & 1;
    const float factors[] = {1.0f, 0.5f, 0.25f, 0.33333334f};
    const float hclk = mhz * factors[hdivn];
    const float pclk = (clkdivn & 1) != 0 ? hclk * 0.5f : hclk;
    const std::uint32_t prescaler = (timers.read32(kTcfg0) >> 8) & 0xFF;
    return static_cast<std::uint32_t>(pclk / static_cast<float>(prescaler + 1) * 0.5f * 1000.0f);
}

TEST_P(S3cTransmitTest, DriverArithmeticMatchesTheTimerRate) {
    const auto clocks = map(0x4C000000, 0x602);
    EXPECT_EQ(driver_ticks_per_ms(timers_, clocks), GetParam().ticks_per_ms);
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

TEST_P(S3cTransmitTest, CarrierOnGphAndEverythingRestored) {
    const auto& c = GetParam();
    const std::uint32_t gphcon = gpio_.read32(kGphcon);
    gpio_.write32(kGphcon, (gphcon & ~(3u << (2 * c.pin))) | (1u << (2 * c.pin)));
    start_timer2();
    const std::uint32_t intmsk = interrupts_.read32(kIntmsk);
    interrupts_.write32(kIntmsk, intmsk | kTimer2Bit);
    const std::uint32_t p = 26 * c.ticks_per_ms / 1000, low = p / 2, high = p - p / 2;

    ce::BeginInfraredTrace();
    for (int mark = 0; mark < 2; ++mark) {
        const std::uint32_t saved = interrupts_.read32(kIntmsk);
        interrupts_.write32(kIntmsk, 0xFFFFFFFF);
        std::uint32_t t = count();
        for (int i = 0; i < 10; ++i) {
            const std::uint32_t target = (t - low) & 0xFFFF;
            gpio_.write32(kGphdat, gpio_.read32(kGphdat) | (1u << c.pin));
            wait_passes(target);
            gpio_.write32(kGphdat, gpio_.read32(kGphdat) & ~(1u << c.pin));
            t = (target - high) & 0xFFFF;
            wait_passes(t);
        }
        interrupts_.write32(kIntmsk, saved);
        wait_passes((count() - c.ticks_per_ms) & 0xFFFF);  // 1 ms space
    }
    ce::EndInfraredTrace();
    interrupts_.write32(kIntmsk, intmsk);
    stop_timer2();
    gpio_.write32(kGphcon, gphcon);

    const auto& trace = machine().last_trace();
    ASSERT_TRUE(trace.has_value());
    const double tick_ns = 1e6 / c.ticks_per_ms;
    EXPECT_NEAR(trace->period_ns, p * tick_ns, 1.0);
    EXPECT_NEAR(trace->on_ns, low * tick_ns, 150);
    ASSERT_GE(trace->segments.size(), 3u);
    EXPECT_EQ(trace->segments[0].cycles, 10u);
    EXPECT_NEAR(static_cast<double>(trace->segments[1].ns), 1e6, tick_ns + 300);
    EXPECT_TRUE(machine().soc().journal().unrestored().empty());
    EXPECT_EQ(timers_.read32(kTcfg1) & 0xF00, saved_tcfg1_);
}

INSTANTIATE_TEST_SUITE_P(Families, S3cTransmitTest,
                         ::testing::Values(S3cCase{"s3c2410", 1750, 6}, S3cCase{"s3c2440", 1000, 4}),
                         [](const auto& row) { return row.param.profile; });

}  // namespace

}  // namespace sim_tests
