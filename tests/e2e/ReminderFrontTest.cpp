// The reminder as the one thing on the screen while an alarm rings: it stays in front of
// programs opened after it, comes up at once when another copy of Alert was only
// renewing the wake-up, and once answered it takes no re-fire that waited behind the answer.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <thread>

#include "AlertHandheld.h"
#include "alarms/AlarmMessages.h"
#include "alarms/AlertKey.h"
#include "ce/Process.h"
#include "ce/Sync.h"
#include "ce/Windows.h"
#include "framework/AutomationProtocol.h"
#include "host/Device.h"

namespace {

using ::testing::ContainsRegex;

constexpr const char* kDismiss = "600";

class ReminderFront : public e2e::AlertHandheld {
protected:
    void TearDown() override {
        if (const ce::HWND kivo = ce::FindWindowW(nullptr, u"KIVO")) {
            ce::PostMessageW(kivo, ce::WM_CLOSE, 0, 0);
            eventually([] { return ce::FindWindowW(nullptr, u"KIVO") == nullptr; }, 10);
        }
        AlertHandheld::TearDown();
    }
    static std::string handle_text(ce::HWND window) {
        return std::to_string(static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(window)));
    }
    // The window a program last brought forward, whether or not it is in front.
    static std::string brought_forward() {
        return host::Device::current().database().setting("window.foreground").value_or("");
    }
};

TEST_F(ReminderFront, KivoOpenedOverARingingReminderLeavesItInFrontAndDismissWithinReach) {
    ring_at("08:00", {"--days", "daily", "--description", "Radio on"});
    ASSERT_TRUE(eventually(reminder_shown));
    const ce::HWND reminder = ce::FindWindowW(nullptr, u"KIVOAlert");

    ok({"run", "\\Program Files\\KIVO\\KIVO.exe"});
    ASSERT_TRUE(eventually([] { return ce::FindWindowW(nullptr, u"KIVO") != nullptr; }));
    const ce::HWND kivo = ce::FindWindowW(nullptr, u"KIVO");
    ASSERT_TRUE(eventually([&] { return brought_forward() == handle_text(kivo); })) << "KIVO showed its window";
    EXPECT_EQ(ce::GetForegroundWindow(), reminder) << "the reminder stays in front";
    EXPECT_THAT(ok({"ps"}), ContainsRegex("Alert\\.exe +SHOW +\"KIVOAlert\" +yes +yes"));

    // Dismiss, at the middle of the button on a 240 x 320 screen.
    ok({"tap", "60", "151"});
    ASSERT_TRUE(eventually(reminder_gone)) << "the tap reached Dismiss";
    EXPECT_EQ(registered_time(), "2026-03-08 08:00:00");
    EXPECT_EQ(ce::GetForegroundWindow(), kivo) << "KIVO comes to the front when the reminder has gone";
}

// Starts Alert as kivowake would, without waiting for it.
bool start_alert(const char16_t* command_line) {
    ce::PROCESS_INFORMATION alert;
    if (!ce::CreateProcessW(u"\\Program Files\\KIVO\\Alert.exe", command_line, nullptr, nullptr, ce::FALSE, 0, nullptr,
                            nullptr, nullptr, &alert))
        return false;
    ce::CloseHandle(alert.hProcess);
    ce::CloseHandle(alert.hThread);
    return true;
}

// A clock change starts Alert with "UPDATE" and, a moment later, the alarm with "SHOW":
// the second copy finds the program's mutex held by one that never makes a window.
TEST_F(ReminderFront, ACopyToShowComesUpAsSoonAsTheOtherHolderOfTheProgramsMutexHasGone) {
    set_clock("2026-03-07 07:00:00");
    add_alarm("08:00", {"--days", "daily"});
    ASSERT_FALSE(AlertKey::Pending().value_or(u"").empty());
    const ce::HANDLE holder = ce::CreateMutexW(nullptr, ce::FALSE, u"/Program Files/KIVO/Alert.exe");
    ASSERT_NE(holder, nullptr);

    ASSERT_TRUE(start_alert(u"SHOW"));
    std::this_thread::sleep_for(std::chrono::seconds(2));
    EXPECT_TRUE(reminder_gone()) << "it looks for the holder's window while the holder runs";
    ce::CloseHandle(holder);
    const auto released = std::chrono::steady_clock::now();
    ASSERT_TRUE(eventually(reminder_shown));
    EXPECT_LT(std::chrono::steady_clock::now() - released, std::chrono::seconds(6))
        << "it came up when the holder went, not after its whole 10 s search";
    ok({"ui", "click", kDismiss});
    ASSERT_TRUE(eventually(reminder_gone));
}

TEST_F(ReminderFront, AReFireQueuedBehindDismissWhileTheReminderBeamsRingsNothing) {
    add_radio_codebase();
    const std::u16string alarm =
        ring_at("08:00", {"--days", "daily", "--sound", write_sound(200), "--codebase", "Radio", "--beam-on-repeats"});
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return plays().size() == 1 && infrared_sends() == 2; }));
    const ce::HWND reminder = ce::FindWindowW(nullptr, u"KIVOAlert");
    // The repeat's second has come, with the service stopped so that the re-fires are
    // only the test's: the first is owed.
    ok({"stop"});
    run_clock_to("2026-03-07 " + refire_of(alarm) + ":02");

    // The first re-fire beams again, which holds the reminder's thread for more than a
    // second; the answer and a second re-fire wait in its queue, in that order.
    ASSERT_TRUE(ce::PostMessageW(reminder, WM_ALERT_REFIRE, 0, 0));
    ASSERT_TRUE(ce::PostMessageW(reminder, framework::automation::WM_UI_CLICK, 4242, 600));
    ASSERT_TRUE(ce::PostMessageW(reminder, WM_ALERT_REFIRE, 0, 0));
    ASSERT_TRUE(eventually(reminder_gone));

    EXPECT_EQ(refire_of(alarm), "") << "no repeat armed after the answer";
    EXPECT_EQ(registered_time(), "2026-03-08 08:00:00");
    // The re-fire beams on a thread of its own, which Dismiss stops before its next step.
    EXPECT_GE(infrared_sends(), 2) << "beamed when it went off";
    EXPECT_LE(infrared_sends(), 4) << "beamed on the first re-fire at most, never after Dismiss";
}

// Another program floods the ringing reminder with re-fires: alike, they wait once, so
// Dismiss posted behind them is taken after a few rings, not after ten thousand.
TEST_F(ReminderFront, DismissBehindAFloodOfReFiresIsTakenAndEndsTheAlarm) {
    const std::u16string alarm = ring_at("08:00", {"--days", "daily", "--sound", write_sound(50)});
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return plays().size() == 1; }));
    const ce::HWND reminder = ce::FindWindowW(nullptr, u"KIVOAlert");

    constexpr int kFlood = 10000;
    for (int posted = 0; posted < kFlood; ++posted) ASSERT_TRUE(ce::PostMessageW(reminder, WM_ALERT_REFIRE, 0, 0));
    ASSERT_TRUE(ce::PostMessageW(reminder, framework::automation::WM_UI_CLICK, 4242, 600));
    ASSERT_TRUE(eventually(reminder_gone)) << "Dismiss was taken";

    EXPECT_EQ(refire_of(alarm), "") << "no repeat armed after the answer";
    EXPECT_EQ(registered_time(), "2026-03-08 08:00:00");
    EXPECT_LT(plays().size(), static_cast<std::size_t>(kFlood / 10)) << "rang for a few of the re-fires, not each";
}

TEST_F(ReminderFront, TheReminderIsInFrontWhileItBeamsAndItsSoundFollowsTheBeaming) {
    // Beaming as the person watching sees it: the pause of the macro takes its 4 s.
    ok({"ir", "pacing", "on"});
    const auto signal = device_root() / "power.mode2";
    std::ofstream(signal) << "carrier 38000\npulse 2400\nspace 600\npulse 1200\nspace 20000\n";
    ok({"ir", "put", "Slow", "Power", signal.string()});
    ok({"ir", "macro", "Slow", "Alarm", "signal:Power", "repeat:1", "delay:4000", "signal:Power", "repeat:1"});
    ring_at("08:00", {"--days", "daily", "--sound", write_sound(200), "--codebase", "Slow"});
    ASSERT_TRUE(eventually(reminder_shown));
    EXPECT_LT(infrared_sends(), 2) << "in front only once the beaming was over";
    EXPECT_TRUE(plays().empty());
    ASSERT_TRUE(eventually([&] { return infrared_sends() == 2 && plays().size() == 1; }));
}

// The reminder answers while a long macro beams: the tool's questions at once, and a
// Dismiss tapped a few seconds into a 25 s beam closes it within 3 s, sending no more.
TEST_F(ReminderFront, DismissTappedWhileALongMacroBeamsClosesTheReminderAtOnceAndEndsTheBeaming) {
    ok({"ir", "pacing", "on"});
    const auto signal = device_root() / "power.mode2";
    std::ofstream(signal) << "carrier 38000\npulse 2400\nspace 600\npulse 1200\nspace 20000\n";
    ok({"ir", "put", "Long", "Power", signal.string()});
    // With the port's settling second, about 25 s.
    ok({"ir", "macro", "Long", "Alarm", "signal:Power", "repeat:1", "delay:9900", "signal:Power", "repeat:1",
        "delay:9900", "signal:Power", "repeat:1", "delay:4000", "signal:Power", "repeat:1"});
    const std::u16string alarm = ring_at("08:00", {"--days", "daily", "--sound", write_sound(200), "--codebase", "Long"});
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return infrared_sends() == 1; })) << "the first signal, then the first pause";
    EXPECT_THAT(reminder_controls(), ::testing::HasSubstr("600 button")) << "the tool is answered while it beams";

    const auto tapped = std::chrono::steady_clock::now();
    ok({"tap", "60", "151"});
    ASSERT_TRUE(eventually(reminder_gone, 10)) << "the tap reached Dismiss";
    EXPECT_LT(std::chrono::steady_clock::now() - tapped, std::chrono::seconds(3));
    EXPECT_EQ(infrared_sends(), 1) << "the rest of the macro is not sent";
    EXPECT_TRUE(plays().empty()) << "an alarm answered while it beams rings no sound after it";
    EXPECT_EQ(refire_of(alarm), "");
}

}  // namespace
