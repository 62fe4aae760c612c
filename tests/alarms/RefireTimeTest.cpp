// The time an unanswered or snoozed alarm goes off again: the snooze length on from
// now, across midnight, and never a time of day that reads as no repeat.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "alarms/RefireTime.h"

namespace {

struct RefireCase {
    const char* name;
    int hour, minute, second;  // now
    int snooze;
    int refire_hour, refire_minute;
};

void PrintTo(const RefireCase& row, std::ostream* out) { *out << row.name; }

class Refire : public ::testing::TestWithParam<RefireCase> {};

TEST_P(Refire, IsTheSnoozeLengthOnAndAlwaysPending) {
    const RefireCase& c = GetParam();
    ce::SYSTEMTIME now{};
    now.wYear = 2026;
    now.wMonth = 3;
    now.wDay = 7;
    now.wHour = static_cast<ce::WORD>(c.hour);
    now.wMinute = static_cast<ce::WORD>(c.minute);
    now.wSecond = static_cast<ce::WORD>(c.second);
    const RefireTime refire = RefireTime::After(now, c.snooze);
    EXPECT_EQ(refire.hour(), c.refire_hour);
    EXPECT_EQ(refire.minute(), c.refire_minute);
    EXPECT_EQ(refire.second(), 0);
    EXPECT_TRUE(RefireTime::Pending(refire.hour(), refire.minute()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Refire,
    ::testing::Values(RefireCase{"WithinTheHour", 9, 7, 40, 3, 9, 10},
                      RefireCase{"IntoTheNextHour", 10, 45, 0, 30, 11, 15},
                      RefireCase{"PastMidnight", 23, 58, 59, 5, 0, 3},
                      // 00:00 would read as no repeat: the alarm would never ring again.
                      RefireCase{"OntoMidnightIsMovedToOneMinutePast", 23, 55, 10, 5, 0, 1},
                      RefireCase{"OneMinuteOntoMidnight", 23, 59, 0, 1, 0, 1},
                      RefireCase{"OneMinutePastMidnight", 0, 0, 30, 1, 0, 1}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
