// An alarm going off on a handheld, end to end: set with `handheld alarm add`, started
// by the notification service through kivowake, performed by Alert (beam, ring, show)
// and answered with `handheld ui click`, as a person at the handheld would answer it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "AlertHandheld.h"
#include "UiDump.h"
#include "alarms/AlarmChangeMarker.h"
#include "alarms/AlertKey.h"
#include "alarms/CAlarmDB.h"
#include "ce/Process.h"
#include "ce/Sync.h"
#include "ce/Windows.h"
#include "host/display/DisplayPower.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kDismiss = "600";
constexpr const char* kSnooze = "601";
constexpr ce::UINT kAlarmsChanged = 0x0465;

long long milliseconds_of(const ce::SYSTEMTIME& time) {
    ce::FILETIME file;
    ce::SystemTimeToFileTime(&time, &file);
    return static_cast<long long>((static_cast<unsigned long long>(file.dwHighDateTime) << 32 | file.dwLowDateTime) /
                                  10000);
}

class AlertFiring : public e2e::AlertHandheld {};

TEST_F(AlertFiring, DueAlarmBeamsRingsWithItsPausesAndDismissEndsIt) {
    add_radio_codebase();
    const std::u16string later = add_alarm("09:00", {"--days", "daily"});
    const std::u16string alarm =
        ring_at("08:00", {"--days", "daily", "--description", "Radio on", "--sound", write_sound(300), "--count", "3",
                          "--pause", "1", "--volume", "8", "--codebase", "Radio", "--replay", "5"});

    ASSERT_TRUE(eventually(reminder_shown)) << "the service started kivowake, which started Alert";
    const std::string screen = handheld({"ui", "dump", "--json"}).out;
    const QJsonObject window = testing_support::DumpObject(screen);
    EXPECT_EQ(window.value("title"), "KIVOAlert") << screen;
    EXPECT_EQ(window.value("width"), 240);
    EXPECT_EQ(window.value("height"), 320);
    EXPECT_TRUE(testing_support::DumpHas(screen, {{"id", 59648}, {"kind", "window"}, {"text", "08:00 AM"}}))
        << "the time it went off";
    EXPECT_THAT(reminder_controls(), HasSubstr("600 button \"\" visible enabled 13,122 95x58"))
        << "the 240 x 240 picture sits in the middle of the 320-pixel side";
    EXPECT_TRUE(testing_support::DumpHas(screen, {{"id", 603}, {"kind", "window"}, {"text", ""}, {"checked", QJsonValue()},
                                                  {"enabled", true}, {"visible", false}}));
    EXPECT_EQ(refire_of(alarm), "08:05") << "armed to go off again after the replay interval";
    EXPECT_EQ(registered_time(), "2026-03-07 08:05:00");

    ASSERT_TRUE(eventually([&] { return plays().size() >= 3; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const auto rung = plays();
    ASSERT_EQ(rung.size(), 3u) << "three plays, no more";
    for (std::size_t play = 1; play < rung.size(); ++play) {
        const long long pause = milliseconds_of(rung[play].start) - milliseconds_of(rung[play - 1].end);
        EXPECT_GE(pause, 950) << "play " << play;
        EXPECT_LT(pause, 5000) << "play " << play;  // a loaded machine delays the timer, never by seconds
    }
    EXPECT_EQ(rung[0].volume, 0xCCCCCCCCu) << "8 of 10, both channels";
    EXPECT_EQ(infrared_sends(), 2) << "the macro's two signals, beamed once";

    ok({"ui", "click", kDismiss});
    ASSERT_TRUE(eventually(reminder_gone));
    EXPECT_EQ(refire_of(alarm), "");
    EXPECT_EQ(AlertKey::Pending(), later);
    EXPECT_EQ(registered_time(), "2026-03-07 09:00:00");
}

// The alarm asked for a sound: a file gone after the alarm was saved (or a storage card
// taken out) must not leave it silent.
TEST_F(AlertFiring, AnAlarmWhoseSoundFileIsGoneRingsWithTheDefaultSoundItsNumberOfTimes) {
    set_clock("2026-03-07 07:45:00");
    add_alarm("08:00", {"--days", "daily", "--sound", write_sound(300), "--count", "3"});
    ASSERT_TRUE(std::filesystem::remove(host_path("My Documents/ring.wav")));
    set_clock("07:59:58");

    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return plays().size() >= 3; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    const auto rung = plays();
    ASSERT_EQ(rung.size(), 3u) << "as many times as the sound would have played";
    for (const auto& play : rung) EXPECT_EQ(play.format.nSamplesPerSec, 22050u) << "the handheld's default sound";
    std::ifstream out(device_root() / "log" / "Alert.out");
    const std::string said((std::istreambuf_iterator<char>(out)), std::istreambuf_iterator<char>());
    EXPECT_THAT(said, HasSubstr("\\My Documents\\ring.wav cannot be played")) << "the reminder says why";

    ok({"ui", "click", kDismiss});
    ASSERT_TRUE(eventually(reminder_gone));
}

TEST_F(AlertFiring, SnoozedAlarmGoesOffAgainWhenTheClockReachesItsTimeWithoutBeamingAgain) {
    add_radio_codebase();
    const std::u16string alarm =
        ring_at("08:00", {"--days", "daily", "--sound", write_sound(200), "--codebase", "Radio", "--replay", "10"});
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return plays().size() == 1 && infrared_sends() == 2; }));

    ok({"ui", "click", kSnooze});
    ASSERT_TRUE(eventually(reminder_gone));
    EXPECT_EQ(refire_of(alarm), "08:10") << "the alarm's replay interval is the first snooze length";
    EXPECT_EQ(registered_time(), "2026-03-07 08:10:00");

    set_clock("08:09:58");
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return plays().size() == 2; }));
    EXPECT_THAT(reminder_controls(), HasSubstr("59648 window \"08:10 AM\""));
    EXPECT_EQ(refire_of(alarm), "08:20") << "armed again while unanswered";
    EXPECT_EQ(infrared_sends(), 2) << "a repeat beams only when the alarm asks for it";

    ok({"ui", "click", kDismiss});
    ASSERT_TRUE(eventually(reminder_gone));
    EXPECT_EQ(refire_of(alarm), "");
    EXPECT_EQ(registered_time(), "2026-03-08 08:00:00");
}

// The length list drops open under the arrow; a tap on a row chooses it and closes it. Snooze stays greyed for a moment after the list closes, however it closed,
// so the tap that closed it cannot snooze by accident.
TEST_F(AlertFiring, ALengthChosenFromTheListIsTheSnoozeLength) {
    const std::u16string alarm = ring_at("08:00", {"--days", "daily", "--sound", write_sound(200)});
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return plays().size() == 1; }));
    const auto snooze_enabled = [&] { return reminder_controls().find("601 button \"\" visible enabled") != std::string::npos; };

    ok({"ui", "click", "602"});
    ASSERT_TRUE(eventually([&] { return reminder_controls().find("603 window \"\" visible") != std::string::npos; }));
    EXPECT_FALSE(snooze_enabled());
    ok({"tap", "200", "100"});  // beside the list: it closes, choosing nothing
    ASSERT_TRUE(eventually(snooze_enabled, 5)) << "Snooze comes back after the list closed by a tap beside it";

    ok({"ui", "click", "602"});
    ASSERT_TRUE(eventually([&] { return reminder_controls().find("603 window \"\" visible") != std::string::npos; }));
    // Under Snooze (from y 229), rows of 16 pixels from the one above the selection
    // (5 min): "15 min" is the fourth.
    ok({"tap", "50", "286"});
    ASSERT_TRUE(eventually([&] { return reminder_controls().find("603 window \"\" hidden") != std::string::npos; }))
        << "one tap chose the length";
    ASSERT_TRUE(eventually(snooze_enabled, 5));
    ok({"ui", "click", kSnooze});
    ASSERT_TRUE(eventually(reminder_gone));
    EXPECT_EQ(refire_of(alarm), "08:15");
    EXPECT_EQ(plays().size(), 1u);
}

TEST_F(AlertFiring, UnansweredAlarmBeamsOnEveryRepeatAndStopsByItselfAfterAnHour) {
    add_radio_codebase();
    const std::u16string alarm = ring_at("08:00", {"--days", "daily", "--sound", write_sound(200), "--codebase",
                                                     "Radio", "--beam-on-repeats", "--replay", "30"});
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return plays().size() == 1 && infrared_sends() == 2; }));
    EXPECT_EQ(refire_of(alarm), "08:30");

    // The repeats ring at their times as the clock runs (a change of the clock rings
    // nothing): the hour is spent 30 minutes at a time.
    ASSERT_TRUE(host::DisplayPower::set(ce::VideoPowerOff));
    run_clock_to("2026-03-07 08:30:00");
    ASSERT_TRUE(eventually([&] { return plays().size() == 2 && infrared_sends() == 4; }));
    EXPECT_EQ(host::DisplayPower::state(), ce::VideoPowerOn) << "a repeat switches the display on";
    EXPECT_EQ(refire_of(alarm), "09:00");
    run_clock_to("2026-03-07 09:00:00");
    ASSERT_TRUE(eventually([&] { return plays().size() == 3 && infrared_sends() == 6; }));
    EXPECT_FALSE(reminder_gone()) << "60 minutes unanswered";
    EXPECT_EQ(refire_of(alarm), "09:30");

    run_clock_to("2026-03-07 09:30:00");
    ASSERT_TRUE(eventually(reminder_gone)) << "90 minutes: it stops by itself";
    EXPECT_EQ(refire_of(alarm), "");
    EXPECT_EQ(registered_time(), "2026-03-08 08:00:00");
    EXPECT_EQ(plays().size(), 3u) << "the stop rings nothing";
    EXPECT_EQ(infrared_sends(), 6);
}

TEST_F(AlertFiring, OnceAlarmIsDeactivatedMarkedForKivoAndStillRepeatsUntilAnswered) {
    const ce::HWND kivo = ce::CreateWindowExW(0, u"stand-in", u"KIVO", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(kivo, nullptr);
    const std::u16string alarm = ring_at("08:00", {"--description", "Once"});
    ASSERT_TRUE(eventually(reminder_shown));

    bool told = false;
    ASSERT_TRUE(eventually([&] {
        ce::MSG message;
        while (ce::PeekMessageW(&message, nullptr, 0, 0, ce::PM_REMOVE))
            told = told || (message.hwnd == kivo && message.message == kAlarmsChanged && message.wParam == 0 &&
                            message.lParam == 0);
        return told;
    })) << "KIVO's window is told";
    CAlarmDB file;
    ASSERT_EQ(file.Open(alarm), CAlarmDB::kOk);
    std::uint8_t active = 1;
    EXPECT_EQ(file.GetActive(active), CAlarmDB::kOk);
    EXPECT_EQ(active, 0);
    file.Close();
    EXPECT_EQ(AlarmChangeMarker::Read(alarm), AlarmChangeMarker::State::changed) << "KIVO re-reads it";
    EXPECT_EQ(registered_time(), "2026-03-07 08:05:00") << "inactive, but its repeat is still armed";
    EXPECT_THAT(reminder_controls(), HasSubstr("59648 window \"08:00 AM\""));

    ok({"ui", "click", kDismiss});
    ASSERT_TRUE(eventually(reminder_gone));
    EXPECT_EQ(registered_time(), "") << "nothing left to wake for";
    ce::DestroyWindow(kivo);
}

int count_reminders() {
    int count = 0;
    ce::EnumWindows(
        [](ce::HWND window, ce::LPARAM counter) {
            char16_t title[32] = {};
            ce::GetWindowTextW(window, title, 32);
            if (std::u16string_view(title) == u"KIVOAlert") ++*reinterpret_cast<int*>(counter);
            return ce::TRUE;
        },
        reinterpret_cast<ce::LPARAM>(&count));
    return count;
}

// Starts Alert as kivowake would; its exit code once it ended, -1 when it is still running.
int run_alert(const char16_t* command_line, ce::DWORD patience_ms) {
    ce::PROCESS_INFORMATION alert;
    if (!ce::CreateProcessW(u"\\Program Files\\KIVO\\Alert.exe", command_line, nullptr, nullptr, ce::FALSE, 0,
                            nullptr, nullptr, nullptr, &alert))
        return -2;
    ce::DWORD code = 0;
    const bool ended = ce::WaitForSingleObject(alert.hProcess, patience_ms) == ce::WAIT_OBJECT_0 &&
                       ce::GetExitCodeProcess(alert.hProcess, &code);
    ce::CloseHandle(alert.hProcess);
    ce::CloseHandle(alert.hThread);
    return ended ? static_cast<int>(code) : -1;
}

TEST_F(AlertFiring, ShowWithoutAPendingAlarmOnlyRenewsTheWakeAndASecondStartLeavesTheFirstShowing) {
    set_clock("2026-03-07 07:00:00");
    const std::u16string alarm = add_alarm("08:00", {"--days", "daily", "--description", "Radio on"});
    ASSERT_TRUE(AlertKey::ClearPending());
    for (const char16_t* words : {u"SHOW", u"show", u"SHOW UPDATE", u""}) {
        EXPECT_EQ(run_alert(words, 15000), 0);
        EXPECT_TRUE(reminder_gone());
    }
    EXPECT_EQ(AlertKey::Pending(), alarm) << "the lost pending alarm is found again";
    EXPECT_EQ(registered_time(), "2026-03-07 08:00:00");

    set_clock("07:59:57");
    ASSERT_TRUE(eventually(reminder_shown));
    const ce::HWND first = ce::FindWindowW(nullptr, u"KIVOAlert");
    EXPECT_EQ(run_alert(u"SHOW", 15000), 0) << "the second copy ends at once";
    EXPECT_EQ(count_reminders(), 1);
    EXPECT_EQ(ce::GetForegroundWindow(), first) << "the running reminder is brought forward";
    EXPECT_EQ(refire_of(alarm), "08:05") << "the second copy fired nothing";

    ok({"ui", "click", kDismiss});
    ASSERT_TRUE(eventually(reminder_gone));
}

struct ClockCase {
    const char* name;
    const char* time_format;  // the user's; empty: the handheld's own (12 hours)
    const char* alarm;
    const char* shown;
};

void PrintTo(const ClockCase& row, std::ostream* out) { *out << row.name; }

class ReminderClock : public AlertFiring, public ::testing::WithParamInterface<ClockCase> {};

TEST_P(ReminderClock, ShowsTheTimeItWentOffInTheUsersClock) {
    const ClockCase& row = GetParam();
    if (*row.time_format != 0)
        ok({"reg", "set", "HKCU\\Control Panel\\International", "sTimeFormat", "--sz", row.time_format});
    ring_at(row.alarm, {"--days", "daily"});
    ASSERT_TRUE(eventually(reminder_shown));
    const std::string controls = reminder_controls();
    EXPECT_THAT(controls, HasSubstr(std::string("59648 window \"") + row.shown + "\""));
    ok({"ui", "click", kDismiss});
    ASSERT_TRUE(eventually(reminder_gone));
}

INSTANTIATE_TEST_SUITE_P(TimeFormats, ReminderClock,
                         ::testing::Values(ClockCase{"HalfPastMidnightOnTheHandheldsTwelveHourClock", "", "00:30",
                                                     "12:30 AM"},
                                           ClockCase{"HalfPastNoonOnATwelveHourClock", "hh:mm:ss tt", "12:30",
                                                     "12:30 PM"},
                                           ClockCase{"TwentyFourHoursWhenTheUserSaysSo", "HH:mm:ss", "00:30",
                                                     "00:30"}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
