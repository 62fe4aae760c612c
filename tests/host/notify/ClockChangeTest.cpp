// A clock or zone set by hand and the timed registrations it jumps over: which are taken
// out before the notification service can see them due, and which are left for it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "LocalTime.h"
#include "StandIn.h"
#include "TempDevice.h"
#include "ce/Notify.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/notify/ClockChange.h"
#include "host/notify/NotificationStore.h"

namespace {

using namespace ce;
using testing_support::local_time;

constexpr const char16_t* kWake = u"\\Windows\\kivowake.exe";

// On 2026-03-07, a Saturday.
SYSTEMTIME at(int hour, int minute, int second = 0) { return local_time(2026, 3, 7, hour, minute, second); }

struct JumpCase {
    const char* name;
    const char* zone;     // the handheld's zone before
    SYSTEMTIME clock;     // its local time before
    SYSTEMTIME registered;
    const char* new_zone;  // a zone change; null for a clock set to `new_clock`
    SYSTEMTIME new_clock;
    bool kept;
};

void PrintTo(const JumpCase& row, std::ostream* out) { *out << row.name; }

const JumpCase kJumps[] = {
    {"ClockSetForwardPastAnAlarmDropsIt", "Europe/Berlin", at(7, 0), at(8, 0), nullptr, at(9, 0), false},
    {"ClockSetSixteenSecondsPastDropsIt", "Europe/Berlin", at(7, 59, 50), at(8, 0), nullptr, at(8, 0, 16), false},
    {"ClockSetFifteenSecondsPastKeepsIt", "Europe/Berlin", at(7, 59, 50), at(8, 0), nullptr, at(8, 0, 15), true},
    {"ClockSetOntoTheAlarmKeepsIt", "Europe/Berlin", at(7, 59, 50), at(8, 0), nullptr, at(8, 0), true},
    {"ClockSetShortOfTheAlarmKeepsIt", "Europe/Berlin", at(7, 0), at(8, 0), nullptr, at(7, 59, 59), true},
    {"ClockSetBackKeepsIt", "Europe/Berlin", at(9, 0), at(10, 0), nullptr, at(7, 0), true},
    // Its time came while nothing ran: late, but the service still starts it.
    {"OneDueBeforeTheChangeIsLeftToTheService", "Europe/Berlin", at(9, 0), at(8, 0), nullptr, at(10, 0), true},
    {"ZoneChangePuttingItBehindDropsIt", "UTC", at(6, 0), at(7, 30), "Asia/Tokyo", {}, false},
    {"ZoneChangeToTheDateLineDropsIt", "UTC", at(6, 0), at(7, 30), "Pacific/Kiritimati", {}, false},
    {"ZoneChangeLandingOnItDropsIt", "UTC", at(6, 0), at(7, 0), "Europe/Berlin", {}, false},
    {"ZoneChangePuttingItAheadKeepsIt", "UTC", at(6, 0), at(7, 30), "America/New_York", {}, true},
};

class HandSetClock : public testing_support::TempDevice, public testing::WithParamInterface<JumpCase> {
protected:
    static host::NotificationStore store() { return host::NotificationStore(host::Device::current().database()); }
    std::vector<std::string> log_lines() const { return testing_support::log_lines(device_root(), "notify"); }
};

TEST_P(HandSetClock, SettlesTheRegistrationsItJumpsOver) {
    const JumpCase& row = GetParam();
    ASSERT_TRUE(host::set_time_zone(row.zone));
    ASSERT_TRUE(host::set_local_time(row.clock));
    ASSERT_TRUE(store().set_time(kWake, row.registered));
    ASSERT_TRUE(CeRunAppAtEvent(kWake, NOTIFICATION_EVENT_TIME_CHANGE));

    ASSERT_TRUE(row.new_zone != nullptr ? host::ClockChange::set_time_zone(row.new_zone)
                                        : host::ClockChange::set_local_time(row.new_clock));

    EXPECT_EQ(store().timed_rows().size(), row.kept ? 1u : 0u);
    EXPECT_EQ(store().registered_for(NOTIFICATION_EVENT_TIME_CHANGE).size(), 1u) << "events stay registered";
    const auto lines = log_lines();
    const auto said = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with("not starting \\Windows\\kivowake.exe AppRunAtTime (registered for 2026-03-07 ");
    });
    EXPECT_EQ(said, row.kept ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Jumps, HandSetClock, testing::ValuesIn(kJumps),
                         [](const auto& row) { return std::string(row.param.name); });

class HandSetClockRefusal : public testing_support::TempDevice {};

TEST_F(HandSetClockRefusal, ATimeThatCannotBeAndAnUnknownZoneChangeNothing) {
    ASSERT_TRUE(host::set_time_zone("Europe/Berlin"));
    ASSERT_TRUE(host::set_local_time(local_time(2026, 3, 29, 1, 0)));
    auto store = host::NotificationStore(host::Device::current().database());
    ASSERT_TRUE(store.set_time(kWake, local_time(2026, 3, 29, 1, 30)));
    const auto before = host::clock_settings();
    EXPECT_FALSE(host::ClockChange::set_local_time(local_time(2026, 3, 29, 2, 30))) << "skipped by the clock";
    EXPECT_FALSE(host::ClockChange::set_time_zone("Europe/Atlantis"));
    EXPECT_EQ(host::clock_settings().zone, before.zone);
    EXPECT_EQ(host::clock_settings().offset_ms, before.offset_ms);
    EXPECT_EQ(store.timed_rows().size(), 1u);
}

}  // namespace
