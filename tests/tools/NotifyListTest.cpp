// `handheld notify list` as a person reads it after KIVO has registered its wake program.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <sstream>
#include <string>
#include <vector>

#include "HandheldProcess.h"
#include "TempDevice.h"
#include "alarms/CAlarmDB.h"
#include "alarms/CAlarmScheduler.h"
#include "ce/Files.h"
#include "ce/Notify.h"
#include "host/clock/Clock.h"

namespace {

using ::testing::ElementsAre;
using ::testing::MatchesRegex;

class NotifyList : public testing_support::TempDevice {
protected:
    void TearDown() override {
        unsetenv("KIVO_PROGRAM_PATH");
        TempDevice::TearDown();
    }
    std::vector<std::string> list_lines() {
        const auto result = tool_tests::run_handheld({"--device", device_root().string(), "notify", "list"});
        EXPECT_EQ(result.exit_code, 0) << result.err;
        std::vector<std::string> lines;
        std::istringstream stream(result.out);
        for (std::string line; std::getline(stream, line);) lines.push_back(line);
        return lines;
    }
    static void touch(const char16_t* path) {
        ce::HANDLE file = ce::CreateFileW(path, ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS);
        ASSERT_NE(file, ce::INVALID_HANDLE_VALUE);
        ce::CloseHandle(file);
    }
};

TEST_F(NotifyList, AnEmptyDatabaseSaysSo) { EXPECT_THAT(list_lines(), ElementsAre("no programs registered")); }

TEST_F(NotifyList, ShowsWhatARescheduleRegistered) {
    setenv("KIVO_PROGRAM_PATH", "\\Program Files\\KIVO\\KIVO.exe", 1);
    for (const char16_t* folder : {u"\\Program Files", u"\\Program Files\\KIVO", u"\\Program Files\\KIVO\\Alarms",
                                   u"\\Windows"})
        ASSERT_TRUE(ce::CreateDirectoryW(folder));
    touch(u"\\Program Files\\KIVO\\Alert.exe");
    touch(u"\\Windows\\kivowake.exe");
    ASSERT_TRUE(host::set_time_zone("Europe/Berlin"));
    ce::SYSTEMTIME now;
    now.wYear = 2026, now.wMonth = 3, now.wDay = 7, now.wHour = 10, now.wSecond = 5;
    ASSERT_TRUE(host::set_local_time(now));
    CAlarmDB alarm;
    ASSERT_EQ(alarm.Create(u"\\Program Files\\KIVO\\Alarms\\1.kivo"), CAlarmDB::kOk);
    ASSERT_EQ(alarm.SetAlarmTime(6, 30), CAlarmDB::kOk);
    ASSERT_EQ(alarm.SetDays(0x7F), CAlarmDB::kOk);
    ASSERT_EQ(alarm.SetActive(1), CAlarmDB::kOk);
    alarm.Close();
    ASSERT_NE(CAlarmScheduler::Reschedule(), 0);

    EXPECT_THAT(list_lines(),
                ElementsAre(MatchesRegex("PROGRAM +KIND +WHEN +COMMAND"),
                            MatchesRegex(R"(\\Windows\\kivowake\.exe +event +time change +AppRunAfterTimeChange)"),
                            MatchesRegex(R"(\\Windows\\kivowake\.exe +event +time-zone change +AppRunAfterTzChange)"),
                            MatchesRegex(R"(\\Windows\\kivowake\.exe +time +2026-03-08 06:30:00 Sunday +AppRunAtTime)")));
}

TEST_F(NotifyList, ColumnsLineUpForPathsOfAnyLength) {
    ce::SYSTEMTIME time;
    time.wYear = 2026, time.wMonth = 1, time.wDay = 2, time.wHour = 3;
    ASSERT_TRUE(ce::CeRunAppAtTime(u"\\a.exe", &time));
    ASSERT_TRUE(ce::CeRunAppAtEvent(u"\\Program Files\\Some Long Name\\b.exe", ce::NOTIFICATION_EVENT_TZ_CHANGE));
    const auto lines = list_lines();
    ASSERT_EQ(lines.size(), 3u);
    const auto column = lines[0].find("KIND");
    EXPECT_EQ(lines[1].find("time"), column);
    EXPECT_EQ(lines[2].find("event"), column);
}

}  // namespace
