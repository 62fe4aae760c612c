// The next alarm and its wake registration, with the handheld's clock set to a fixed
// moment in a zone with daylight saving.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "InstalledHandheld.h"
#include "alarms/AlarmEnumerator.h"
#include "alarms/AlertKey.h"
#include "alarms/CAlarmScheduler.h"
#include "ce/Files.h"
#include "ce/Notify.h"
#include "host/Device.h"

namespace alarm_tests {
namespace {

constexpr const char* kZone = "Europe/Berlin";

struct RescheduleCase {
    const char* name;
    ce::SYSTEMTIME now;  // local, in kZone
    std::vector<AlarmSpec> alarms;
    std::optional<std::string> registered;  // local time of the registration
    int pending = -1;                       // index of the alarm named as pending
    std::optional<std::string> utc;         // the instant the registered time stands for
};

AlarmSpec daily(int hour, int minute, std::uint8_t days = 0x7F) {
    AlarmSpec spec;
    spec.time = {hour, minute};
    spec.days = days;
    return spec;
}

AlarmSpec with(AlarmSpec spec, std::optional<std::uint8_t> active, std::optional<std::array<int, 3>> refire = {}) {
    spec.active = active;
    spec.refire = refire;
    return spec;
}

AlarmSpec without_time_or_days(bool time) {
    AlarmSpec spec = daily(11, 0);
    if (time) spec.time.reset();
    else spec.days.reset();
    return spec;
}

constexpr std::uint8_t kMonday = 0x01;
constexpr std::uint8_t kSaturday = 0x20;

// 2026-03-07 is a Saturday; Berlin springs forward on Sunday 2026-03-29 at 02:00 and
// falls back on Sunday 2026-10-25 at 03:00.
const ce::SYSTEMTIME kSaturday10 = host::system_time(2026, 3, 7, 10, 0, 5);
const ce::SYSTEMTIME kSaturday06 = host::system_time(2026, 3, 7, 6, 0, 5);
const ce::SYSTEMTIME kBeforeSpring = host::system_time(2026, 3, 28, 10, 0, 5);
const ce::SYSTEMTIME kBeforeFall = host::system_time(2026, 10, 24, 10, 0, 5);

const RescheduleCase kCases[] = {
    {"EveryDayAtTheCurrentMinuteIsTomorrow", kSaturday10, {daily(10, 0)}, "2026-03-08 10:00:00", 0, std::nullopt},
    {"SaturdayOnlyLaterTodayIsToday", kSaturday10, {daily(11, 0, kSaturday)}, "2026-03-07 11:00:00", 0, std::nullopt},
    {"SaturdayOnlyEarlierTodayIsNextSaturday", kSaturday10, {daily(9, 0, kSaturday)}, "2026-03-14 09:00:00", 0, std::nullopt},
    {"OnceLaterTodayIsToday", kSaturday10, {daily(11, 0, 0x00)}, "2026-03-07 11:00:00", 0, std::nullopt},
    {"OnceEarlierTodayIsTomorrow", kSaturday10, {daily(9, 0, 0x00)}, "2026-03-08 09:00:00", 0, std::nullopt},
    {"InactiveRepeatPendingEarlierTodayIsTomorrow", kSaturday10,
     {with(daily(6, 0, kMonday), 0, std::array{7, 15, 30})}, "2026-03-08 07:15:30", 0, std::nullopt},
    {"InactiveRepeatPendingLaterTodayIsToday", kSaturday06,
     {with(daily(6, 0, kMonday), 0, std::array{7, 15, 30})}, "2026-03-07 07:15:30", 0, std::nullopt},
    {"TheEarliestAlarmWins", kSaturday10, {daily(12, 0), daily(11, 0, kSaturday), daily(9, 0)},
     "2026-03-07 11:00:00", 1, std::nullopt},
    {"InactiveWithoutRepeatIsSkipped", kSaturday10, {with(daily(11, 0), 0)}, std::nullopt, -1, std::nullopt},
    {"RepeatAtMidnightHourAndMinuteIsNoRepeat", kSaturday10, {with(daily(11, 0), 0, std::array{0, 0, 30})},
     std::nullopt, -1, std::nullopt},
    {"NoActiveRecordIsSkipped", kSaturday10, {with(daily(11, 0), std::nullopt)}, std::nullopt, -1, std::nullopt},
    {"NoAlarmTimeIsSkipped", kSaturday10, {without_time_or_days(true)}, std::nullopt, -1, std::nullopt},
    {"NoDaysIsSkipped", kSaturday10, {without_time_or_days(false)}, std::nullopt, -1, std::nullopt},
    {"HourTwentyFiveIsSkipped", kSaturday10, {daily(25, 0), daily(24, 0)}, std::nullopt, -1, std::nullopt},
    {"MinuteSixtyOneIsSkipped", kSaturday10, {daily(11, 61), daily(11, 60)}, std::nullopt, -1, std::nullopt},
    {"DaysWithTheUnusedBitAreSkipped", kSaturday10, {daily(11, 0, 0xFF), daily(11, 0, 0x80)}, std::nullopt, -1, std::nullopt},
    {"ImpossibleRepeatOfAnInactiveAlarmIsSkipped", kSaturday10, {with(daily(11, 0), 0, std::array{25, 0, 0})},
     std::nullopt, -1, std::nullopt},
    {"ImpossibleRepeatOfAnArmedAlarmFallsBackToItsTime", kSaturday10,
     {with(daily(11, 0), 1, std::array{7, 61, 0}), with(daily(12, 0), 1, std::array{7, 0, 60})},
     "2026-03-07 11:00:00", 0, std::nullopt},
    {"SpringForwardKeepsTheWallClockTime", kBeforeSpring, {daily(6, 30)}, "2026-03-29 06:30:00", 0,
     "2026-03-29 04:30:00"},
    {"SpringForwardSkippedTimeIsShiftedByTheGap", kBeforeSpring, {daily(2, 30)}, "2026-03-29 03:30:00", 0,
     "2026-03-29 01:30:00"},
    // Both in the skipped hour: apart, in their order, rather than both at 03:00.
    {"TwoAlarmsInTheSkippedHourStayApart", kBeforeSpring, {daily(2, 40), daily(2, 10, 0x00)}, "2026-03-29 03:10:00",
     1, "2026-03-29 01:10:00"},
    {"NextWeekAcrossSpringForwardKeepsTheTime", host::system_time(2026, 3, 28, 7, 0, 5), {daily(6, 30, kSaturday)},
     "2026-04-04 06:30:00", 0, "2026-04-04 04:30:00"},
    {"FallBackKeepsTheWallClockTime", kBeforeFall, {daily(6, 30)}, "2026-10-25 06:30:00", 0, "2026-10-25 05:30:00"},
    {"FallBackRepeatedTimeRingsAtItsFirstOccurrence", kBeforeFall, {daily(2, 30)}, "2026-10-25 02:30:00", 0,
     "2026-10-25 00:30:00"},
    // Rescheduled in the last second before the alarm's minute: at its own second, not
    // the moment later an alarm met in the past gets.
    {"FromTheLastSecondBeforeItsMinuteAtItsOwnSecond", host::system_time(2026, 3, 7, 10, 59, 59), {daily(11, 0)},
     "2026-03-07 11:00:00", 0, "2026-03-07 10:00:00"},
    // A repeat in the hour the fall back repeats, rescheduled in that hour's first pass:
    // still this pass, then the second once the first has gone, never a day late.
    {"ARepeatInTheRepeatedHourFromItsFirstPassIsThatPass", host::system_time(2026, 10, 25, 2, 0, 0),
     {with(daily(6, 0, kMonday), 0, std::array{2, 0, 30})}, "2026-10-25 02:00:30", 0, "2026-10-25 00:00:30"},
    {"ARepeatInTheRepeatedHourWhoseFirstPassHasGoneIsTheSecond", host::system_time(2026, 10, 25, 2, 10, 0),
     {with(daily(6, 0, kMonday), 0, std::array{2, 5, 0})}, "2026-10-25 02:05:00", 0, std::nullopt},
};

class Reschedule : public InstalledHandheld, public testing::WithParamInterface<RescheduleCase> {};

TEST_P(Reschedule, RegistersTheAlarmDueNext) {
    const RescheduleCase& row = GetParam();
    set_clock(kZone, row.now);
    std::vector<std::u16string> paths;
    for (std::size_t i = 0; i < row.alarms.size(); ++i)
        paths.push_back(write_alarm(static_cast<int>(100 + i), row.alarms[i]));
    // What an earlier run left pending must not survive.
    ASSERT_TRUE(AlertKey::SetPending(u"\\stale.kivo"));

    const int result = CAlarmScheduler::Reschedule();

    EXPECT_EQ(result != 0, row.registered.has_value());
    EXPECT_EQ(registered_time(), row.registered);
    const std::u16string expected_pending = row.pending >= 0 ? paths[static_cast<std::size_t>(row.pending)] : u"";
    EXPECT_EQ(AlertKey::Pending().value_or(u"<missing>"), expected_pending);
    if (row.utc) {
        for (const auto& notification : registrations()) {
            if (!notification.is_timed()) continue;
            ce::SYSTEMTIME utc;
            ASSERT_TRUE(ce::LocalTimeToSystemTime(&notification.time, &utc));
            EXPECT_EQ(host::time_text(utc), *row.utc);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Reschedule, testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

class Wake : public InstalledHandheld {
protected:
    void SetUp() override {
        InstalledHandheld::SetUp();
        set_clock(kZone, kSaturday10);
    }
    static void register_stale() {
        const ce::SYSTEMTIME stale = host::system_time(2026, 3, 9, 8, 0);
        ASSERT_TRUE(ce::CeRunAppAtTime(kWake, &stale));
        ASSERT_TRUE(ce::CeRunAppAtEvent(kWake, ce::NOTIFICATION_EVENT_TIME_CHANGE));
        ASSERT_TRUE(AlertKey::SetPending(u"\\stale.kivo"));
    }
};

TEST_F(Wake, RegistersTheTimeAndBothClockEventsAndNamesTheAlertProgram) {
    write_alarm(1, daily(11, 0));
    ASSERT_NE(CAlarmScheduler::Reschedule(), 0);
    const auto all = registrations();
    ASSERT_EQ(all.size(), 3u);
    std::vector<std::u16string> words;
    for (const auto& notification : all) {
        EXPECT_EQ(notification.application, kWake);
        words.push_back(notification.command_word());
    }
    EXPECT_EQ(words, (std::vector<std::u16string>{u"AppRunAfterTimeChange", u"AppRunAfterTzChange", u"AppRunAtTime"}));
    EXPECT_EQ(AlertKey::Exe(), std::u16string(kAlert));
}

TEST_F(Wake, OfTwoAlarmsAtTheSameTimeTheFirstEnumeratedWins) {
    write_alarm(7, daily(6, 30));
    write_alarm(3, daily(6, 30));
    const auto names = AlarmEnumerator::FileNames(kAlarms);
    ASSERT_EQ(names.size(), 2u);
    ASSERT_NE(CAlarmScheduler::Reschedule(), 0);
    EXPECT_EQ(AlertKey::Pending(), kAlarms + names[0]);
    EXPECT_EQ(registered_time(), "2026-03-08 06:30:00");
}

TEST_F(Wake, WithoutAlarmsEveryRegistrationGoesAndNothingIsPending) {
    register_stale();
    EXPECT_EQ(CAlarmScheduler::Reschedule(), 0);
    EXPECT_TRUE(registrations().empty());
    EXPECT_EQ(AlertKey::Pending(), u"");
}

TEST_F(Wake, EveryRescheduleReplacesThePreviousRegistrations) {
    register_stale();
    write_alarm(1, daily(11, 0));
    ASSERT_NE(CAlarmScheduler::Reschedule(), 0);
    remove(kAlarms + std::u16string(u"1.kivo"));
    write_alarm(2, daily(12, 0));
    ASSERT_NE(CAlarmScheduler::Reschedule(), 0);
    EXPECT_EQ(registrations().size(), 3u);
    EXPECT_EQ(registered_time(), "2026-03-07 12:00:00");
    EXPECT_EQ(AlertKey::Pending(), kAlarms + std::u16string(u"2.kivo"));
}

TEST_F(Wake, WithoutTheAlertProgramNothingIsRegistered) {
    register_stale();
    remove(kAlert);
    write_alarm(1, daily(11, 0));
    EXPECT_EQ(CAlarmScheduler::Reschedule(), 0);
    EXPECT_TRUE(registrations().empty());
    EXPECT_EQ(AlertKey::Pending(), u"");
}

TEST_F(Wake, WithoutTheWakeProgramTheAlertPathIsStillWritten) {
    register_stale();
    remove(kWake);
    write_alarm(1, daily(11, 0));
    EXPECT_EQ(CAlarmScheduler::Reschedule(), 0);
    EXPECT_TRUE(registrations().empty());
    EXPECT_EQ(AlertKey::Exe(), std::u16string(kAlert));
    EXPECT_EQ(AlertKey::Pending(), u"");
}

TEST_F(Wake, AlarmFilesThatCannotBeReadAreSkipped) {
    touch(kAlarms + std::u16string(u"5.kivo"));  // empty
    ce::HANDLE garbage = ce::CreateFileW((kAlarms + std::u16string(u"6.kivo")).c_str(), ce::GENERIC_WRITE, 0,
                                         ce::CREATE_ALWAYS);
    ASSERT_NE(garbage, ce::INVALID_HANDLE_VALUE);
    const std::string bytes(200, '\xFF');
    ce::DWORD written = 0;
    ASSERT_TRUE(ce::WriteFile(garbage, bytes.data(), static_cast<ce::DWORD>(bytes.size()), &written));
    ce::CloseHandle(garbage);
    ASSERT_TRUE(ce::CreateDirectoryW((kAlarms + std::u16string(u"8.kivo")).c_str()));
    const auto good = write_alarm(7, daily(11, 0));
    ASSERT_NE(CAlarmScheduler::Reschedule(), 0);
    EXPECT_EQ(AlertKey::Pending(), good);
    EXPECT_EQ(registered_time(), "2026-03-07 11:00:00");
}

// The store refuses the timed registration (as a full disk would): the wake-up and the
// pending alarm go together, and the clock and zone events stay, so that a change of
// either reschedules again.
TEST_F(Wake, ARefusedTimedRegistrationKeepsTheClockAndZoneEvents) {
    register_stale();
    ASSERT_TRUE(host::Device::current().database().exec(
        "CREATE TEMP TRIGGER refuse_times BEFORE INSERT ON notifications WHEN NEW.event = 0 "
        "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    write_alarm(1, daily(11, 0));
    EXPECT_EQ(CAlarmScheduler::Reschedule(), 0);
    std::vector<std::u16string> words;
    for (const auto& notification : registrations()) words.push_back(notification.command_word());
    EXPECT_EQ(words, (std::vector<std::u16string>{u"AppRunAfterTimeChange", u"AppRunAfterTzChange"}));
    EXPECT_EQ(AlertKey::Pending(), u"");
}

TEST_F(Wake, ATimeNotInTheFutureChangesNothing) {
    register_stale();
    EXPECT_EQ(CAlarmScheduler::RegisterWake(host::system_time(2026, 3, 7, 9, 59)), 0);
    EXPECT_EQ(CAlarmScheduler::RegisterWake(host::system_time(2026, 2, 30, 11, 0)), 0);
    EXPECT_EQ(registrations().size(), 2u);
    EXPECT_EQ(registered_time(), "2026-03-09 08:00:00");
}

}  // namespace
}  // namespace alarm_tests
