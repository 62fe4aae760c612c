// How long an unanswered alarm keeps going off: an hour of repeats, read off the wall
// clock as times of day, across midnight too.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "alert/StopBudget.h"

namespace {

ce::SYSTEMTIME at(int hour, int minute) {
    ce::SYSTEMTIME time;
    time.wHour = static_cast<ce::WORD>(hour), time.wMinute = static_cast<ce::WORD>(minute);
    return time;
}

struct BudgetCase {
    const char* name;
    std::pair<int, int> fired;
    std::vector<std::pair<int, int>> repeats;  // the last one is the one that stops it, if any
    bool stops;
};

void PrintTo(const BudgetCase& row, std::ostream* out) { *out << row.name; }

class StopBudgetRepeats : public testing::TestWithParam<BudgetCase> {};

TEST_P(StopBudgetRepeats, StopAfterAnHourOfMinutes) {
    const BudgetCase& row = GetParam();
    StopBudget budget(at(row.fired.first, row.fired.second));
    for (std::size_t repeat = 0; repeat + 1 < row.repeats.size(); ++repeat)
        ASSERT_TRUE(budget.Spend(at(row.repeats[repeat].first, row.repeats[repeat].second))) << "repeat " << repeat;
    EXPECT_EQ(budget.Spend(at(row.repeats.back().first, row.repeats.back().second)), !row.stops);
}

INSTANTIATE_TEST_SUITE_P(
    Repeats, StopBudgetRepeats,
    testing::Values(BudgetCase{"FiveMinuteRepeatsRingForAnHour", {8, 0}, {{8, 5}, {8, 30}, {8, 55}, {9, 0}}, false},
                    BudgetCase{"TheSixtyFirstMinuteStops", {8, 0}, {{8, 30}, {9, 1}}, true},
                    BudgetCase{"AcrossMidnightTheMinutesGoOn", {23, 30}, {{23, 55}, {0, 31}}, true},
                    BudgetCase{"AcrossMidnightWithinTheHour", {23, 30}, {{0, 10}, {0, 30}}, false},
                    // Midnight reads as no reading: nothing is spent from it, so the
                    // hour runs from the repeat after it.
                    BudgetCase{"AFiringAtMidnightSpendsNothingOnItsFirstRepeat", {0, 0}, {{0, 50}, {1, 49}}, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(StopBudget, ADifferentAlarmStartsAFullHour) {
    StopBudget budget(at(7, 0));
    ASSERT_TRUE(budget.Spend(at(7, 50)));
    budget.Restart(at(7, 50));
    EXPECT_TRUE(budget.Spend(at(8, 50)));
    EXPECT_FALSE(budget.Spend(at(8, 51)));
}

}  // namespace
