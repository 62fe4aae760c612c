// The OS-timer families: OSCR counts at the profile's rate, wraps at 32 bits and moves
// with Sleep; the same register sequence gives the same LED edges in every session.

#include <gtest/gtest.h>

#include <cmath>

#include "HardwareTesting.h"
#include "ce/Infrared.h"
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

}  // namespace

}  // namespace sim_tests
