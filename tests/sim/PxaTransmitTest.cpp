// The OS-timer families: a carrier toggled on the transmit pin by busy-waiting on OSCR,
// as the transmit engine does, must come out of the trace with the period, duty cycle,
// cycle counts and space lengths the tick arithmetic gives, and every register the
// sequence changed must read back as it was.

#include <gtest/gtest.h>

#include <cmath>

#include "HardwareTesting.h"
#include "ce/Infrared.h"
#include "ce/Led.h"
#include "ce/Thread.h"

namespace sim_tests {

namespace {

constexpr std::uint32_t kOsTimer = 0x40A00000, kGpio = 0x40E00000, kInterrupts = 0x40D00000;
constexpr ce::DWORD kOscr = 0x10, kGpdr1 = 0x10, kGpsr1 = 0x1C, kGpcr1 = 0x28, kGafr1L = 0x5C, kIcmr = 0x04;

struct PxaCase {
    std::string profile;
    double ticks_per_us;
    std::uint32_t high, low;       // half periods in ticks
    std::uint32_t pin;             // GPSR1 bit of the infrared UART's transmit pin
    std::uint32_t function_mask;   // GAFR1_L AND mask making it a plain GPIO
    std::uint32_t icmr_during_mark_mask;
};

void PrintTo(const PxaCase& c, std::ostream* out) { *out << c.profile; }

class PxaTransmitTest : public HardwareTest, public ::testing::WithParamInterface<PxaCase> {
protected:
    void SetUp() override {
        HardwareTest::SetUp();
        use_profile(GetParam().profile);
        timer_ = map(kOsTimer);
        gpio_ = map(kGpio);
        interrupts_ = map(kInterrupts);
    }

    void mark(std::uint32_t cycles) {
        const auto& c = GetParam();
        const std::uint32_t saved = interrupts_.read32(kIcmr);
        interrupts_.write32(kIcmr, saved & c.icmr_during_mark_mask);
        std::uint32_t t = timer_.read32(kOscr);
        for (std::uint32_t i = 0; i < cycles; ++i) {
            gpio_.write32(kGpsr1, c.pin);
            wait_up(timer_, kOscr, t += c.high);
            gpio_.write32(kGpcr1, c.pin);
            wait_up(timer_, kOscr, t += c.low);
        }
        interrupts_.write32(kIcmr, interrupts_.read32(kIcmr) | saved);
    }

    void space(std::uint32_t ticks) { wait_up(timer_, kOscr, timer_.read32(kOscr) + ticks); }

    ce::RegisterPage timer_, gpio_, interrupts_;
};

TEST_P(PxaTransmitTest, TraceShowsTheCarrierAndTheSignal) {
    const auto& c = GetParam();
    const std::uint32_t gafr = gpio_.read32(kGafr1L), gpdr = gpio_.read32(kGpdr1);
    gpio_.write32(kGafr1L, gafr & c.function_mask);
    gpio_.write32(kGpdr1, gpdr | c.pin);
    ce::BeginInfraredTrace();
    mark(20);
    space(static_cast<std::uint32_t>(1000 * c.ticks_per_us));
    mark(5);
    space(static_cast<std::uint32_t>(20000 * c.ticks_per_us));
    ce::EndInfraredTrace();
    gpio_.write32(kGafr1L, gafr);
    gpio_.write32(kGpdr1, gpdr);

    const auto& trace = machine().last_trace();
    ASSERT_TRUE(trace.has_value());
    const double tick_ns = 1000.0 / c.ticks_per_us;
    EXPECT_NEAR(trace->period_ns, (c.high + c.low) * tick_ns, 1.0);
    EXPECT_NEAR(trace->duty, static_cast<double>(c.high) / (c.high + c.low), 0.01);
    ASSERT_EQ(trace->segments.size(), 4u);
    EXPECT_EQ(trace->segments[0].cycles, 20u);
    EXPECT_EQ(trace->segments[2].cycles, 5u);
    EXPECT_NEAR(static_cast<double>(trace->segments[0].ns), 20 * trace->period_ns, tick_ns);
    EXPECT_NEAR(static_cast<double>(trace->segments[1].ns), 1'000'000, tick_ns + 200);
    EXPECT_NEAR(static_cast<double>(trace->segments[3].ns), 20'000'000, tick_ns + 200);
    EXPECT_TRUE(machine().soc().journal().unrestored().empty());
    EXPECT_GE(machine().soc().journal().find("ICMR")->changes, 2u);
    EXPECT_GE(machine().soc().journal().find("GAFR1_L")->changes, 2u);
}

TEST_P(PxaTransmitTest, OscrWrapsAt32BitsAndSleepAdvancesIt) {
    timer_.write32(kOscr, 0xFFFFFF00u);
    ce::Sleep(10);
    const std::uint32_t after = timer_.read32(kOscr);
    EXPECT_LT(after, 0x10000u);  // wrapped
    EXPECT_NEAR(static_cast<double>(after - 0xFFFFFF00u), 10'000 * GetParam().ticks_per_us, 2);
    // A wrap-safe wait across the wrap returns, and on time.
    timer_.write32(kOscr, 0xFFFFFFF0u);
    wait_up(timer_, kOscr, 0x00000100u);
    EXPECT_LT(timer_.read32(kOscr) - 0x100u, 4u);
}

TEST_P(PxaTransmitTest, SameSequenceGivesTheSameTraceInEverySession) {
    const auto& c = GetParam();
    std::vector<sim::Edge> first;
    for (int run = 0; run < 2; ++run) {
        if (run == 1) {
            unmap_all();
            ce::Sleep(3);  // time passes between sessions
            timer_ = map(kOsTimer);
            gpio_ = map(kGpio);
            interrupts_ = map(kInterrupts);
        }
        gpio_.write32(kGafr1L, gpio_.read32(kGafr1L) & c.function_mask);
        gpio_.write32(kGpdr1, gpio_.read32(kGpdr1) | c.pin);
        ce::BeginInfraredTrace();
        mark(3);
        space(500);
        mark(2);
        ce::EndInfraredTrace();
        auto edges = machine().last_transmission()->edges;
        const auto begin = machine().last_transmission()->begin_ns;
        for (auto& edge : edges) edge.ns -= begin;
        if (run == 0) {
            first = edges;
            continue;
        }
        ASSERT_EQ(edges.size(), first.size());
        for (std::size_t i = 0; i < edges.size(); ++i) EXPECT_EQ(edges[i].ns, first[i].ns) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Families, PxaTransmitTest,
                         ::testing::Values(PxaCase{"pxa250", 3.6864, 48, 48, 0x8000, 0x3FFFFFFF, 0x3C000000},
                                           PxaCase{"pxa26x", 3.6864, 48, 48, 0x800, 0xFF3FFFFF, 0x3C000000},
                                           PxaCase{"pxa270", 3.25, 43, 42, 0x8000, 0x3FFFFFFF, 0}),
                         [](const auto& row) { return row.param.profile; });

// SA-11x0: TXD2 driven through the pin controller, the LED notification around it.
class Sa11x0TransmitTest : public HardwareTest {};

TEST_F(Sa11x0TransmitTest, PinControllerCarrierAndRestoredRegisters) {
    use_profile("sa1110");
    const auto uart = map(0x80030000), pins = map(0x90060000), timer = map(0x90000000);
    ce::NLED_SETTINGS_INFO led;
    led.LedNum = 0;
    led.OffOnBlink = 1;
    ASSERT_TRUE(ce::NLedSetDevice(ce::NLED_SETTINGS_INFO_ID, &led));
    const ce::BYTE utcr0 = uart.read8(0);
    const std::uint32_t ppdr = pins.read32(0);
    uart.write8(0, static_cast<ce::BYTE>((utcr0 & 0xE6) | 0x01));
    pins.write32(0, 0x4000);
    ce::BeginInfraredTrace();
    std::uint32_t t = timer.read32(0x10);
    for (int i = 0; i < 8; ++i) {
        pins.write32(4, 0x4000);
        wait_up(timer, 0x10, t += 48);
        pins.write32(4, 0);
        wait_up(timer, 0x10, t += 48);
    }
    ce::EndInfraredTrace();
    uart.write8(0, utcr0);
    pins.write32(0, ppdr);
    led.OffOnBlink = 0;
    ASSERT_TRUE(ce::NLedSetDevice(ce::NLED_SETTINGS_INFO_ID, &led));

    const auto& trace = machine().last_trace();
    ASSERT_TRUE(trace.has_value());
    EXPECT_NEAR(trace->period_ns, 96 / 3.6864 * 1000, 1.0);
    EXPECT_EQ(trace->segments.at(0).cycles, 8u);
    EXPECT_EQ(uart.read8(0), utcr0);
    EXPECT_TRUE(machine().soc().journal().unrestored().empty());
    EXPECT_EQ(machine().soc().journal().find("LED 0")->changes, 2u);
    EXPECT_EQ(machine().led(0), 0);
}

}  // namespace

}  // namespace sim_tests
