// How long an unanswered alarm keeps going off: an hour of repeats, counted only forward
// on the handheld's clock, so that midnight and a clock set back change nothing.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "alert/StopBudget.h"

namespace {

constexpr std::int64_t kMinute = 60;
constexpr std::int64_t kFired = 13'415'000'000;  // seconds of an instant in 2026

struct BudgetCase {
    const char* name;
    std::vector<std::int64_t> repeats;  // minutes after the firing; the last is the one checked
    bool stops;
};

void PrintTo(const BudgetCase& row, std::ostream* out) { *out << row.name; }

class StopBudgetRepeats : public testing::TestWithParam<BudgetCase> {};

TEST_P(StopBudgetRepeats, StopAfterAnHour) {
    const BudgetCase& row = GetParam();
    StopBudget budget(kFired);
    for (std::size_t repeat = 0; repeat + 1 < row.repeats.size(); ++repeat)
        ASSERT_TRUE(budget.Spend(kFired + row.repeats[repeat] * kMinute)) << "repeat " << repeat;
    EXPECT_EQ(budget.Spend(kFired + row.repeats.back() * kMinute), !row.stops);
}

INSTANTIATE_TEST_SUITE_P(
    Repeats, StopBudgetRepeats,
    testing::Values(BudgetCase{"FiveMinuteRepeatsRingForAnHour", {5, 30, 55, 60}, false},
                    BudgetCase{"TheSixtyFirstMinuteStops", {30, 61}, true},
                    // Set back 40 minutes at minute 30: nothing is spent by that, and the
                    // 30 minutes after it count again.
                    BudgetCase{"AClockSetBackSpendsNothing", {30, -10, 20}, false},
                    BudgetCase{"AfterAClockSetBackTheHourStillEnds", {30, -10, 22}, true}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(StopBudget, ADifferentAlarmStartsAFullHour) {
    StopBudget budget(kFired);
    ASSERT_TRUE(budget.Spend(kFired + 50 * kMinute));
    budget.Restart(kFired + 50 * kMinute);
    EXPECT_TRUE(budget.Spend(kFired + 110 * kMinute));
    EXPECT_FALSE(budget.Spend(kFired + 111 * kMinute));
}

}  // namespace
