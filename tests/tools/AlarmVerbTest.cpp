// `handheld alarm`: an alarm set, listed and removed from a terminal, as the alert
// program and the scheduler find it afterwards.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <string>
#include <vector>

#include "HandheldDeviceTest.h"
#include "alarms/AlertKey.h"
#include "alarms/CAlarmDB.h"
#include "ce/Files.h"
#include "ce/Text.h"
#include "host/clock/Clock.h"
#include "irlib/card/database_registry.h"

namespace {

using ::testing::HasSubstr;

constexpr const char16_t* kAlarms = u"\\Program Files\\KIVO\\Alarms\\";

class AlarmVerb : public tool_tests::HandheldDeviceTest {
protected:
    void SetUp() override {
        HandheldDeviceTest::SetUp();
        for (const char16_t* folder : {u"\\Program Files", u"\\Program Files\\KIVO", u"\\Windows"})
            ce::CreateDirectoryW(folder);
        touch(u"\\Program Files\\KIVO\\Alert.exe");
        touch(u"\\Windows\\kivowake.exe");
        touch(u"\\Windows\\Alarm1.wav");
        ASSERT_TRUE(host::set_time_zone("Europe/Berlin"));
        ce::SYSTEMTIME saturday{};  // 2026-03-07 10:00:05, a Saturday
        saturday.wYear = 2026, saturday.wMonth = 3, saturday.wDay = 7, saturday.wHour = 10, saturday.wSecond = 5;
        ASSERT_TRUE(host::set_local_time(saturday));
    }
    static void touch(const char16_t* path) {
        ce::HANDLE file = ce::CreateFileW(path, ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS);
        ASSERT_NE(file, ce::INVALID_HANDLE_VALUE);
        ce::CloseHandle(file);
    }
    static bool exists(const std::u16string& path) {
        return ce::GetFileAttributesW(path.c_str()) != ce::INVALID_FILE_ATTRIBUTES;
    }
    static std::string number_in(const std::string& out) {
        std::smatch match;
        return std::regex_search(out, match, std::regex("added (-?[0-9]+)\\.kivo")) ? match[1].str() : "";
    }
};

TEST_F(AlarmVerb, AddWritesEveryRecordRegistersItAndRemoveTakesItAllBack) {
    auto& codebases = platform::card::database_registry::instance();
    ce::CreateDirectoryW(u"\\Program Files\\KIVO\\Alarms");
    codebases.set_codebase_folder(kAlarms);
    ASSERT_EQ(codebases.create_codebase("Radio", std::vector<std::uint8_t>{0, 0, 0, 0}), 0);

    const std::string out = ok({"alarm", "add", "10:30", "--days", "mon,sat", "--description", "Radio on",
                                "--sound", "\\Windows\\Alarm1.wav", "--volume", "8", "--count", "3", "--pause", "10",
                                "--codebase", "Radio", "--beam-on-repeats", "--replay", "15"});
    EXPECT_THAT(out, HasSubstr("10:30 Mon,Sat, due 2026-03-07 10:30:00; the handheld wakes for it"));
    const std::string number = number_in(out);
    ASSERT_FALSE(number.empty()) << out;
    const std::u16string path = kAlarms + ce::utf16_from_utf8(number) + u".kivo";

    CAlarmDB alarm;
    ASSERT_EQ(alarm.Open(path), CAlarmDB::kOk);
    int hour = 0, minute = 0, second = 0;
    ASSERT_EQ(alarm.GetAlarmTime(hour, minute), CAlarmDB::kOk);
    EXPECT_EQ(hour * 100 + minute, 1030);
    std::uint8_t days = 0, play = 0, beam = 0, replay = 0, repeat_beam = 0, active = 0;
    std::uint16_t volume = 0, count = 0, pause = 0;
    std::u16string description, sound, database;
    EXPECT_EQ(alarm.GetDays(days), CAlarmDB::kOk);
    EXPECT_EQ(days, 0x21);
    EXPECT_TRUE(alarm.ReadDescription(description));
    EXPECT_EQ(description, u"Radio on");
    EXPECT_EQ(alarm.GetPlaySound(play), CAlarmDB::kOk);
    EXPECT_EQ(play, 1);
    EXPECT_TRUE(alarm.ReadSoundFile(sound));
    EXPECT_EQ(sound, u"\\Windows\\Alarm1.wav");
    EXPECT_EQ(alarm.GetSoundVolume(volume), CAlarmDB::kOk);
    EXPECT_EQ(alarm.GetSoundRepeat(count), CAlarmDB::kOk);
    EXPECT_EQ(alarm.GetSoundPause(pause), CAlarmDB::kOk);
    EXPECT_EQ(volume * 10000 + count * 100 + pause, 80310);
    EXPECT_EQ(alarm.GetBeamIr(beam), CAlarmDB::kOk);
    EXPECT_EQ(beam, 1);
    EXPECT_TRUE(alarm.ReadIrDatabase(database));
    EXPECT_EQ(database, ce::utf16_from_utf8(number)) << "the alarm's own copy of the codebase";
    EXPECT_EQ(alarm.GetReplayInterval(replay), CAlarmDB::kOk);
    EXPECT_EQ(replay, 15);
    EXPECT_EQ(alarm.GetIrRepeat(repeat_beam), CAlarmDB::kOk);
    EXPECT_EQ(repeat_beam, 1);
    EXPECT_EQ(alarm.GetActive(active), CAlarmDB::kOk);
    EXPECT_EQ(active, 1);
    EXPECT_EQ(alarm.GetRefireTime(hour, minute, second), CAlarmDB::kAbsent);
    alarm.Close();

    const std::u16string own_database = kAlarms + ce::utf16_from_utf8(number) + u".pdb";
    EXPECT_TRUE(exists(own_database));
    EXPECT_EQ(AlertKey::Pending(), path);
    EXPECT_THAT(ok({"notify", "list"}), HasSubstr("2026-03-07 10:30:00"));
    EXPECT_THAT(ok({"alarm", "list"}),
                HasSubstr("* " + number + ".kivo  10:30  Mon,Sat  active  due 2026-03-07 10:30:00  \"Radio on\""));

    EXPECT_THAT(ok({"alarm", "remove", number}), HasSubstr("removed " + number + ".kivo"));
    EXPECT_FALSE(exists(path));
    EXPECT_FALSE(exists(own_database));
    EXPECT_TRUE(exists(kAlarms + std::u16string(u"Radio.pdb"))) << "the codebase it was copied from stays";
    EXPECT_EQ(AlertKey::Pending(), u"");
    EXPECT_THAT(ok({"notify", "list"}), HasSubstr("no programs registered"));
}

TEST_F(AlarmVerb, TheEarlierOfTwoAlarmsIsTheOneWokenFor) {
    const std::string later = number_in(ok({"alarm", "add", "09:00", "--days", "daily"}));
    const std::string out = ok({"alarm", "add", "23:15", "--description", "Once tonight"});
    EXPECT_THAT(out, HasSubstr("23:15 once, due 2026-03-07 23:15:00; the handheld wakes for it"));
    const std::string listed = ok({"alarm", "list"});
    EXPECT_THAT(listed, HasSubstr("  " + later + ".kivo  09:00  daily  active  due 2026-03-08 09:00:00  \"\""));
    EXPECT_THAT(listed, HasSubstr("* " + number_in(out) + ".kivo  23:15  once  active  due 2026-03-07 23:15:00"));
}

// The scheduler wakes for one alarm of a time only: a second armed one would never ring.
TEST_F(AlarmVerb, ASecondArmedAlarmOfTheSameTimeIsRefusedAndMayBeAddedDisarmed) {
    const std::string first = number_in(ok({"alarm", "add", "07:30", "--days", "daily"}));
    const auto refused = handheld({"alarm", "add", "07:30", "--description", "Second"});
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_EQ(refused.err, "handheld alarm add: You cannot make active two alarms with the same alarm time! (" + first +
                               ".kivo is armed at that time; --inactive adds this one disarmed)\n");
    const std::string disarmed = ok({"alarm", "add", "07:30", "--inactive", "--description", "Second"});
    EXPECT_THAT(ok({"alarm", "list"}), HasSubstr(number_in(disarmed) + ".kivo  07:30  once  inactive"));
    // Another time, or the same time once the first is gone, is fine.
    ok({"alarm", "add", "07:31"});
    ok({"alarm", "remove", first});
    ok({"alarm", "add", "07:30"});
}

struct RefusedCase {
    const char* name;
    std::vector<std::string> words;  // after "alarm add"
    int exit_code;
};

void PrintTo(const RefusedCase& row, std::ostream* out) { *out << row.name; }

class AlarmAddRefuses : public AlarmVerb, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(AlarmAddRefuses, AndLeavesTheStoreAsItWas) {
    std::vector<std::string> words = {"alarm", "add"};
    words.insert(words.end(), GetParam().words.begin(), GetParam().words.end());
    const auto result = handheld(words);
    EXPECT_EQ(result.exit_code, GetParam().exit_code) << result.err;
    EXPECT_THAT(ok({"alarm", "list"}), HasSubstr("no alarms"));
    EXPECT_EQ(AlertKey::Pending().value_or(u""), u"");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AlarmAddRefuses,
    ::testing::Values(RefusedCase{"HourOutOfRange", {"24:00"}, 2}, RefusedCase{"OneDigitMinute", {"7:3"}, 2},
                      RefusedCase{"PauseNotOffered", {"07:30", "--sound", "\\Windows\\Alarm1.wav", "--pause", "4"}, 2},
                      RefusedCase{"VolumeWithoutSound", {"07:30", "--volume", "5"}, 2},
                      RefusedCase{"UnknownDay", {"07:30", "--days", "mon,funday"}, 2},
                      RefusedCase{"ReplayNotOffered", {"07:30", "--replay", "4"}, 2},
                      RefusedCase{"MissingHostSound", {"07:30", "--sound", "/no/such.wav"}, 1},
                      RefusedCase{"MissingCodebase", {"07:30", "--codebase", "Nothing"}, 1}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(AlarmVerb, RemovingAnAlarmThatIsNotThereFails) {
    const auto result = handheld({"alarm", "remove", "12345"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_THAT(result.err, HasSubstr("no alarm 12345.kivo"));
}

}  // namespace
