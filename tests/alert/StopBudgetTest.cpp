// How long an unanswered alarm keeps going off: an hour of repeats, counted on the tick
// count, so that midnight, a clock set back and the tick count's wrap change nothing.

#include <gtest/gtest.h>

#include <vector>

#include "alert/StopBudget.h"

namespace {

constexpr ce::DWORD kMinute = 60 * 1000;

struct BudgetCase {
    const char* name;
    ce::DWORD fired;                // tick count at the firing
    std::vector<ce::DWORD> repeats;  // minutes after it; the last one is the one checked
    bool stops;
};

void PrintTo(const BudgetCase& row, std::ostream* out) { *out << row.name; }

class StopBudgetRepeats : public testing::TestWithParam<BudgetCase> {};

TEST_P(StopBudgetRepeats, StopAfterAnHour) {
    const BudgetCase& row = GetParam();
    StopBudget budget(row.fired);
    for (std::size_t repeat = 0; repeat + 1 < row.repeats.size(); ++repeat)
        ASSERT_TRUE(budget.Spend(row.fired + row.repeats[repeat] * kMinute)) << "repeat " << repeat;
    EXPECT_EQ(budget.Spend(row.fired + row.repeats.back() * kMinute), !row.stops);
}

INSTANTIATE_TEST_SUITE_P(
    Repeats, StopBudgetRepeats,
    testing::Values(BudgetCase{"FiveMinuteRepeatsRingForAnHour", 1000, {5, 30, 55, 60}, false},
                    BudgetCase{"TheSixtyFirstMinuteStops", 1000, {30, 61}, true},
                    // The tick count wraps after 49.7 days; an alarm ringing then still rings an hour.
                    BudgetCase{"AcrossTheTickCountsWrapWithinTheHour", 0xFFFFFFFFu - 10 * kMinute, {5, 59}, false},
                    BudgetCase{"AcrossTheTickCountsWrapAfterTheHour", 0xFFFFFFFFu - 10 * kMinute, {30, 61}, true}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(StopBudget, ADifferentAlarmStartsAFullHour) {
    StopBudget budget(0);
    ASSERT_TRUE(budget.Spend(50 * kMinute));
    budget.Restart(50 * kMinute);
    EXPECT_TRUE(budget.Spend(110 * kMinute));
    EXPECT_FALSE(budget.Spend(111 * kMinute));
}

}  // namespace
