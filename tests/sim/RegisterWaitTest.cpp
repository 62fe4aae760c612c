// A register wait ends at the same virtual instant as the loop of reads it stands for, on
// every kind of counter the drivers wait on, alone and with a second register polled
// (the shape of a wait for the receive line with a deadline), however far off the target.

#include <gtest/gtest.h>

#include <functional>

#include "HardwareTesting.h"
#include "ce/Processor.h"
#include "ce/Thread.h"

namespace sim_tests {

namespace {

using Until = ce::RegisterCondition::Until;

struct WaitCase {
    std::string name, profile;
    std::uint32_t counter_block;
    ce::DWORD counter;
    Until until;
    ce::ULONG width;     // the counter's width as a mask
    int direction;       // +1 up, -1 down
    ce::ULONG distance;  // ticks to the target
    std::uint32_t other_block;
    ce::ULONG other, other_mask;
    // Starts the counter the way the drivers do, from the pages mapped for the case.
    std::function<void(const ce::RegisterPage&)> start;
};

void PrintTo(const WaitCase& c, std::ostream* out) { *out << c.name; }

// The plain loop: each register read in turn, the counter's target by signed difference.
bool holds(const ce::RegisterCondition& c, ce::ULONG read) {
    const ce::ULONG difference = (read - c.value) & c.mask, sign = (c.mask >> 1) + 1;
    switch (c.until) {
        case Until::MaskEquals: return (read & c.mask) == c.value;
        case Until::MaskDiffers: return (read & c.mask) != c.value;
        case Until::UpCountReaches: return (difference & sign) == 0;
        case Until::DownCountReaches: return difference == 0 || (difference & sign) != 0;
        case Until::AtOrBelow: return (read & c.mask) <= c.value;
    }
    return true;
}

class RegisterWaitTest : public HardwareTest, public ::testing::WithParamInterface<WaitCase> {
protected:
    void SetUp() override {
        HardwareTest::SetUp();
        use_profile(GetParam().profile);
    }

    struct Ending {
        std::int64_t ns;  // from the start of the session
        ce::DWORD index;
        ce::ULONG value;  // the counter's: past its target by
    };

    // One session: the counter started, then `conditions` conditions waited on, by the
    // loop of reads or by the wait call.
    Ending run(bool loop, ce::DWORD conditions) {
        const auto& c = GetParam();
        unmap_all();
        ce::Sleep(3);  // time passes between sessions
        const auto counter_page = map(c.counter_block), other_page = map(c.other_block);
        const std::int64_t session = machine().soc().clock().now();
        c.start(counter_page);
        const ce::ULONG now = counter_page.read32(c.counter) & c.width;
        const ce::ULONG target = (now + static_cast<ce::ULONG>(c.direction) * c.distance) & c.width;
        const ce::RegisterCondition waits[] = {
            counter_page.Condition(c.counter, c.until, c.width, target),
            other_page.Condition(c.other, Until::MaskEquals, c.other_mask,
                                 ~other_page.read32(c.other) & c.other_mask)};
        Ending ending{};
        if (loop) {
            for (ending.index = 0;; ending.index = (ending.index + 1) % conditions) {
                ending.value = ce::READ_REGISTER_ULONG(waits[ending.index].address);
                if (holds(waits[ending.index], ending.value)) break;
            }
        } else {
            ending.index = ce::WaitForRegisters(waits, conditions, &ending.value);
        }
        ending.ns = machine().soc().clock().now() - session;
        if (ending.index == 0) ending.value = (ending.value - target) & c.width;  // how far past the target
        return ending;
    }
};

TEST_P(RegisterWaitTest, EndsWhereTheLoopOfReadsEnds) {
    for (ce::DWORD conditions : {1u, 2u}) {
        const Ending loop = run(true, conditions), wait = run(false, conditions);
        EXPECT_EQ(wait.ns, loop.ns) << conditions;
        EXPECT_EQ(wait.index, loop.index) << conditions;
        EXPECT_EQ(wait.value, loop.value) << conditions;
        EXPECT_EQ(wait.index, 0u);  // the line never moves: the counter ends it
    }
}

class RegisterDeadlineTest : public HardwareTest {};

TEST_F(RegisterDeadlineTest, WaitGivesUpAtTheHighResolutionDeadline) {
    use_profile("pxa270");
    const auto gpio = map(0x40E00000);
    ce::LARGE_INTEGER frequency, start, end;
    ASSERT_TRUE(ce::QueryPerformanceFrequency(&frequency));
    ASSERT_TRUE(ce::QueryPerformanceCounter(&start));
    const std::int64_t deadline = start.QuadPart + 20 * frequency.QuadPart;  // a learning time-out
    const auto line = gpio.Condition(0x04, Until::MaskDiffers, 0x04, gpio.read32(0x04) & 0x04);
    ce::ULONG value = 0;
    EXPECT_EQ(ce::WaitForRegistersUntil(&line, 1, deadline, &value), 1u);
    ASSERT_TRUE(ce::QueryPerformanceCounter(&end));
    EXPECT_GE(end.QuadPart, deadline);
    EXPECT_LE(end.QuadPart - deadline, frequency.QuadPart / 1'000'000 + 1);  // within a microsecond
}

void start_omap850_timer3(const ce::RegisterPage& timers) {
    timers.write32(0x700, 0xFFFFFF00);
    timers.write32(0x704, 0xFFFFFFFF);
    timers.write32(0x700, 0xFFFFFFE2);
    timers.write32(0x700, timers.read32(0x700) | 1);
}

void start_s3c_timer2(const ce::RegisterPage& timers) {
    timers.write32(0x08, (timers.read32(0x08) & ~0x1000u) | 0xA000);
    timers.write32(0x24, 65535);
    timers.write32(0x08, (timers.read32(0x08) | 0x1000) & ~0x2000u);
    timers.write32(0x04, timers.read32(0x04) & ~0xF00u);
}

INSTANTIATE_TEST_SUITE_P(
    Counters, RegisterWaitTest,
    ::testing::Values(
        // OSCR, with the PXA receive line GPLR1 (FFUART RX pin 0x04) as the second register.
        WaitCase{"pxa250_oscr", "pxa250", 0x40A00000, 0x10, Until::UpCountReaches, 0xFFFFFFFF, 1, 40'000,
                 0x40E00000, 0x04, 0x04, [](const ce::RegisterPage&) {}},
        // A free-running MPU timer counting down through 0, with the GPIO input bank.
        WaitCase{"omap850_timer3", "omap850", 0xFFFEC000, 0x708, Until::DownCountReaches, 0xFFFFFFFF, -1, 40'000,
                 0xFFFBC000, 0x800, 0x40, start_omap850_timer3},
        // A 16-bit PWM timer across several reloads from 65535 (target by signed
        // difference, so no more than half the range away), with port H's data.
        WaitCase{"s3c2440_timer2", "s3c2440", 0x51000000, 0x2C, Until::DownCountReaches, 0xFFFF, -1, 30'000,
                 0x56000000, 0x74, 0x80, start_s3c_timer2},
        WaitCase{"s3c2410_timer2_at_or_below", "s3c2410", 0x51000000, 0x2C, Until::AtOrBelow, 0xFFFF, -1, 50'000,
                 0x56000000, 0x74, 0x80, start_s3c_timer2}),
    [](const auto& row) { return row.param.name; });

}  // namespace

}  // namespace sim_tests
