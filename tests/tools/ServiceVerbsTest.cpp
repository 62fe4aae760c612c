// `handheld start`, `stop`, `time set` and `tz set` as a person uses them: the clock and
// zone changes reach the programs registered for them through the notification service.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "HandheldDeviceTest.h"
#include "StandIn.h"
#include "ce/Notify.h"

namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;

class ServiceVerbs : public tool_tests::HandheldDeviceTest {
protected:
    void SetUp() override {
        HandheldDeviceTest::SetUp();
        testing_support::install_stand_in(device_root(), "\\Windows\\kivowake.exe");
        testing_support::install_stand_in(device_root(), "\\Program Files\\KIVO\\Alert.exe");
    }
    void TearDown() override {
        handheld({"stop"});
        HandheldDeviceTest::TearDown();
    }
    // Waits for `count` starts of the stand-ins; what each was started as, in order.
    std::vector<std::string> started(std::size_t count) const {
        std::vector<std::string> programs;
        for (const auto& line : testing_support::wait_for_stand_in_lines(device_root(), count))
            programs.push_back(line.substr(0, line.find(" show=")));
        return programs;
    }
};

TEST_F(ServiceVerbs, ClockAndZoneChangesStartTheProgramsRegisteredForThem) {
    ASSERT_TRUE(ce::CeRunAppAtEvent(u"\\Windows\\kivowake.exe", ce::NOTIFICATION_EVENT_TIME_CHANGE));
    ASSERT_TRUE(ce::CeRunAppAtEvent(u"\\Program Files\\KIVO\\Alert.exe", ce::NOTIFICATION_EVENT_TZ_CHANGE));

    // No service was ever started for this handheld: the clock is set, the event waits for one.
    const auto refused = handheld({"time", "set", "2026-03-07 06:00"});
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_EQ(refused.err,
              "handheld time set: the clock is set; the programs registered for a time change start once the "
              "notification service runs, which it does not: this handheld has no notification service (start one "
              "with `handheld start`)\n");

    // Beyond what the clock holds: refused with its range, the clock left as it was.
    for (const char* beyond : {"9999-12-31 23:59:59", "1601-01-01 00:00:00", "2200-01-01 00:00:00"}) {
        const auto wrapped = handheld({"time", "set", beyond});
        EXPECT_EQ(wrapped.exit_code, 2) << beyond;
        EXPECT_THAT(wrapped.err, HasSubstr("beyond the handheld's clock, which holds 1900-01-01 00:00:00 to "
                                           "2199-12-31 23:59:59"));
    }
    EXPECT_THAT(ok({"time", "show"}), HasSubstr("2026-03-07 06:00:"));

    EXPECT_THAT(ok({"start"}), MatchesRegex("notification service running, process [0-9]+\n"));
    EXPECT_EQ(started(1), std::vector<std::string>{"started program=\\Windows\\kivowake.exe command=AppRunAfterTimeChange"})
        << "the clock set while no service ran";
    EXPECT_THAT(ok({"status"}), ContainsRegex("\nservice     notification service running, process [0-9]+\n"
                                              "keeper      process [0-9]+ starts the notification service again "
                                              "should it end\n"));
    EXPECT_EQ(ok({"time", "set", "2026-03-07 07:00"}),
              "2026-03-07 07:00:00 Saturday UTC (UTC+00:00)\nclock: its own (`handheld time follow` takes this "
              "computer's)\n");
    EXPECT_EQ(started(2).back(), "started program=\\Windows\\kivowake.exe command=AppRunAfterTimeChange");
    ok({"tz", "set", "Asia/Tokyo"});
    EXPECT_EQ(started(3).back(), "started program=\\Program Files\\KIVO\\Alert.exe command=AppRunAfterTzChange");

    EXPECT_EQ(ok({"stop"}), "notification service stopped\n");
    EXPECT_EQ(ok({"stop"}), "no notification service was running\n");
    EXPECT_THAT(ok({"status"}), HasSubstr("\nservice     no notification service running (`handheld start`)\n"));
    // Once started for this handheld, a clock change starts the service again when it is down.
    ok({"time", "set", "08:00"});
    const auto all = started(4);
    EXPECT_EQ(std::count(all.begin(), all.end(), "started program=\\Windows\\kivowake.exe command=AppRunAfterTimeChange"),
              3);
}

}  // namespace
