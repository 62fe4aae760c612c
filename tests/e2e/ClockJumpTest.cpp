// Alarms through the real chain (notification service, kivowake, Alert) when the clock or
// the time zone changes: a zone change rings nothing, a clock set past an alarm rings it
// only when it lands within 15 s of it, and the days daylight saving changes ring each
// alarm once, at its wall-clock time read as the zone database reads it (a skipped time
// shifted forward by the gap, a repeated one at its first occurrence).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "AlertHandheld.h"
#include "StandIn.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr const char* kDismiss = "600";

class ClockJump : public e2e::AlertHandheld {
protected:
    // The registered times the service started the wake program for, in order.
    std::vector<std::string> rung() const {
        const std::string start = "started \\Windows\\kivowake.exe AppRunAtTime (registered for ";
        std::vector<std::string> times;
        for (const auto& line : testing_support::log_lines(device_root(), "notify"))
            if (line.starts_with(start)) times.push_back(line.substr(start.size(), 19));
        return times;
    }
    std::vector<std::string> service_log() const { return testing_support::log_lines(device_root(), "notify"); }
    // The reminder comes up when the clock reaches `at` (set 2 s before it) showing `shown`,
    // and is dismissed.
    void rings_at(const std::string& before, const std::string& shown) {
        set_clock(before);
        ASSERT_TRUE(eventually(reminder_shown)) << "nothing rang after " << before;
        EXPECT_THAT(reminder_controls(), HasSubstr("59648 window \"" + shown + "\""));
        ok({"ui", "click", kDismiss});
        ASSERT_TRUE(eventually(reminder_gone));
    }
    bool registered(const std::string& time) {
        return eventually([&] { return registered_time() == time; });
    }
};

class ZoneChange : public ClockJump, public ::testing::WithParamInterface<const char*> {};

TEST_P(ZoneChange, RingsNothingAndTheAlarmRingsAtItsTimeInTheNewZone) {
    set_clock("2026-03-07 06:00:00");
    add_alarm("07:30", {"--days", "daily"});
    ASSERT_EQ(registered_time(), "2026-03-07 07:30:00");

    ok({"tz", "set", GetParam()});  // 07:30 is behind the new zone's clock
    ASSERT_TRUE(registered("2026-03-08 07:30:00")) << "the zone-change event registered the next 07:30";
    EXPECT_THAT(rung(), IsEmpty());
    EXPECT_TRUE(reminder_gone());
    EXPECT_THAT(service_log(), Contains("not starting \\Windows\\kivowake.exe AppRunAtTime (registered for "
                                        "2026-03-07 07:30:00): the time zone was changed past it"));

    rings_at("2026-03-08 07:29:58", "07:30 AM");
    EXPECT_THAT(rung(), ElementsAre("2026-03-08 07:30:00"));
    EXPECT_EQ(registered_time(), "2026-03-09 07:30:00");
}

INSTANTIATE_TEST_SUITE_P(Zones, ZoneChange, ::testing::Values("Asia/Tokyo", "Pacific/Kiritimati"),
                         [](const auto& zone) {
                             std::string name = zone.param;
                             return name.substr(name.find('/') + 1);
                         });

TEST_F(ClockJump, AClockSetPastAnAlarmRingsItOnlyWhenItLandsWithinFifteenSeconds) {
    set_clock("2026-03-07 07:00:00");
    add_alarm("08:00", {"--days", "daily"});

    set_clock("09:00:00");
    ASSERT_TRUE(registered("2026-03-08 08:00:00")) << "the time-change event registered the next 08:00";
    EXPECT_THAT(rung(), IsEmpty());
    EXPECT_THAT(service_log(), Contains("not starting \\Windows\\kivowake.exe AppRunAtTime (registered for "
                                        "2026-03-07 08:00:00): the clock was set past it"));

    // A correction of 20 s that lands 10 s past the alarm: it rings, once.
    set_clock("2026-03-08 07:59:50");
    rings_at("08:00:10", "08:00 AM");
    EXPECT_THAT(rung(), ElementsAre("2026-03-08 08:00:00"));
    EXPECT_EQ(registered_time(), "2026-03-09 08:00:00");
}

struct DaylightCase {
    const char* name;
    const char* zone;
    const char* start;       // the clock when the alarm is added
    const char* alarm;       // HH:MM, daily
    const char* registered;  // the rule's instant, as the handheld's local time
    const char* before;      // 2 s before it
    const char* shown;
    const char* next;        // registered after the answer: the next day, never the same day again
};

void PrintTo(const DaylightCase& row, std::ostream* out) { *out << row.name; }

class DaylightSaving : public ClockJump, public ::testing::WithParamInterface<DaylightCase> {};

TEST_P(DaylightSaving, TheAlarmRingsOnceAtTheRulesInstant) {
    const DaylightCase& row = GetParam();
    ok({"tz", "set", row.zone});
    set_clock(row.start);
    add_alarm(row.alarm, {"--days", "daily"});
    ASSERT_EQ(registered_time(), row.registered);
    rings_at(row.before, row.shown);
    EXPECT_THAT(rung(), ElementsAre(row.registered));
    EXPECT_EQ(registered_time(), row.next);
}

// Lord Howe moves its clock by half an hour (02:00 -> 02:30 on 2027-10-03, 02:00 -> 01:30 on
// 2027-04-04); Santiago at midnight (00:00 -> 01:00 on 2027-09-05, 24:00 -> 23:00 on 2027-04-03).
INSTANTIATE_TEST_SUITE_P(
    Changes, DaylightSaving,
    ::testing::Values(
        DaylightCase{"LordHoweSkippedHalfHour", "Australia/Lord_Howe", "2027-10-03 00:00:00", "02:15",
                     "2027-10-03 02:45:00", "2027-10-03 02:44:58", "02:45 AM", "2027-10-04 02:15:00"},
        DaylightCase{"LordHoweRepeatedHalfHour", "Australia/Lord_Howe", "2027-04-04 00:00:00", "01:45",
                     "2027-04-04 01:45:00", "2027-04-04 01:44:58", "01:45 AM", "2027-04-05 01:45:00"},
        DaylightCase{"SantiagoSkippedMidnightHour", "America/Santiago", "2027-09-04 22:00:00", "00:30",
                     "2027-09-05 01:30:00", "2027-09-05 01:29:58", "01:30 AM", "2027-09-06 00:30:00"},
        DaylightCase{"SantiagoRepeatedHour", "America/Santiago", "2027-04-03 20:00:00", "23:30",
                     "2027-04-03 23:30:00", "2027-04-03 23:29:58", "11:30 PM", "2027-04-04 23:30:00"},
        DaylightCase{"BerlinRepeatedHour", "Europe/Berlin", "2027-10-31 00:00:00", "02:30", "2027-10-31 02:30:00",
                     "2027-10-31 02:29:58", "02:30 AM", "2027-11-01 02:30:00"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(ClockJump, TwoAlarmsInTheHourBerlinSkipsRingApartInTheirOrder) {
    ok({"tz", "set", "Europe/Berlin"});
    set_clock("2027-03-28 01:00:00");
    add_alarm("02:10", {"--description", "Once"});
    add_alarm("02:40", {"--days", "daily"});
    ASSERT_EQ(registered_time(), "2027-03-28 03:10:00");

    rings_at("2027-03-28 03:09:58", "03:10 AM");
    ASSERT_EQ(registered_time(), "2027-03-28 03:40:00") << "the second is not moved to tomorrow";
    rings_at("2027-03-28 03:39:58", "03:40 AM");
    EXPECT_THAT(rung(), ElementsAre("2027-03-28 03:10:00", "2027-03-28 03:40:00"));
    EXPECT_EQ(registered_time(), "2027-03-29 02:40:00");
}

}  // namespace
