// Every alarm rings once, at its time, through the real chain (notification service,
// kivowake, Alert), whatever happens around it: a clock correction landing on it, the
// wake program killed at any instant of its start, a change of zone or clock while its
// reminder is open, and another alarm falling due while it rings.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "AlertHandheld.h"
#include "ProgramStartWatch.h"
#include "StandIn.h"
#include "alarms/AlertKey.h"
#include "host/clock/Clock.h"
#include "host/clock/LocalTime.h"

namespace {

using namespace std::chrono;

constexpr const char* kDismiss = "600";
constexpr const char* kSnooze = "601";
// Sounds of 8000 one-byte samples a second: their lengths tell whose sound was played.
constexpr int kShortSound = 200, kLongSound = 450;
constexpr std::uint64_t kShortBytes = 1600, kLongBytes = 3600;

class RingOnce : public e2e::AlertHandheld {
protected:
    std::filesystem::path installed_wake() const { return device_root() / "fs" / "Windows" / "kivowake.exe"; }

    std::size_t plays_of(std::uint64_t bytes) const {
        const auto all = plays();
        return static_cast<std::size_t>(
            std::count_if(all.begin(), all.end(), [&](const auto& play) { return play.bytes == bytes; }));
    }
    bool registered(const std::string& time) {
        return eventually([&] { return registered_time() == time; });
    }
    void dismiss() {
        ok({"ui", "click", kDismiss});
        ASSERT_TRUE(eventually(reminder_gone));
    }
    // The processes the service started kivowake as for `word`, in order, from its log.
    std::vector<pid_t> wake_starts(const std::string& word) const {
        const std::string start = "started \\Windows\\kivowake.exe " + word;
        std::vector<pid_t> pids;
        for (const auto& line : testing_support::log_lines(device_root(), "notify"))
            if (line.starts_with(start)) pids.push_back(std::stoi(line.substr(line.rfind(' ') + 1)));
        return pids;
    }
    // Whatever the kivowake started for `word` after the `before` earlier ones posted to
    // the reminder has been handled: it has ended, and the reminder has answered a
    // request that came after its message.
    void reminder_took_event(const std::string& word, std::size_t before) {
        std::vector<pid_t> pids;
        ASSERT_TRUE(eventually([&] { return (pids = wake_starts(word)).size() > before; }));
        ASSERT_TRUE(eventually([&] { return kill(pids.back(), 0) != 0; }));
        reminder_controls();
    }
    static bool stopped(pid_t pid) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string text;
        std::getline(stat, text);
        const auto name_end = text.rfind(") ");
        return name_end != std::string::npos && text.size() > name_end + 2 && text[name_end + 2] == 'T';
    }
};

// A correction of the clock that lands within 15 s past an alarm rings that alarm, with
// its own sound, while the time-change event reschedules at the same moment.
TEST_F(RingOnce, AClockCorrectionLandingOnAnAlarmRingsThatAlarm) {
    set_clock("2026-03-07 06:00:00");
    const std::u16string wake =
        add_alarm("08:00", {"--days", "daily", "--description", "Wake", "--sound", write_sound(kShortSound, "wake")});
    const std::u16string lunch =
        add_alarm("12:00", {"--days", "daily", "--description", "Lunch", "--sound", write_sound(kLongSound, "lunch")});
    for (const char* landing : {"08:00:10", "08:00:14", "08:00:10", "08:00:14"}) {
        SCOPED_TRACE(std::string("landing at ") + landing);
        set_clock("07:00:00");
        ASSERT_TRUE(registered("2026-03-07 08:00:00"));
        const std::size_t rung = plays().size();
        set_clock(landing);
        ASSERT_TRUE(eventually(reminder_shown)) << "nothing rang";
        ASSERT_TRUE(eventually([&] { return plays().size() == rung + 1; }));
        EXPECT_EQ(plays().back().bytes, kShortBytes) << "Wake's sound";
        EXPECT_NE(refire_of(wake), "") << "Wake is the alarm fired";
        EXPECT_EQ(refire_of(lunch), "");
        dismiss();
        EXPECT_EQ(registered_time(), "2026-03-07 12:00:00") << "Lunch is still due today";
        if (HasFailure()) return;
    }
    EXPECT_EQ(plays_of(kLongBytes), 0u);
}

// kivowake killed at entry (the test build stops it there) and at chosen instants after:
// the alarm comes back each time, and rings once when kivowake is finally let run.
TEST_F(RingOnce, AWakeProgramKilledAtAnyInstantOfItsStartLosesNoAlarm) {
    std::filesystem::copy_file(KIVO_WAKE_STOPPING, installed_wake(), std::filesystem::copy_options::overwrite_existing);
    const std::u16string later = add_alarm("09:00", {"--days", "daily"});
    set_clock("2026-03-07 07:45:00");
    const std::u16string alarm = add_alarm("08:00", {"--description", "Once", "--sound", write_sound(kShortSound)});
    auto watch = std::make_unique<testing_support::ProgramStartWatch>(installed_wake(), "AppRunAtTime");
    set_clock("07:59:58");
    // The next start of kivowake for the alarm, nothing once the alarm has rung.
    const auto next_start = [&]() -> std::optional<pid_t> {
        std::optional<pid_t> pid;
        const bool came = eventually([&] { return reminder_shown() || (pid = watch->wait(milliseconds(20))); }, 40);
        EXPECT_TRUE(came) << "the alarm was lost: registered '" << registered_time() << "'";
        if (pid) {
            EXPECT_TRUE(eventually([&] { return stopped(*pid); }));
            watch = std::make_unique<testing_support::ProgramStartWatch>(installed_wake(), "AppRunAtTime");
        }
        return pid;
    };
    // Microseconds after it is let go on from its stop; -1: killed while stopped.
    for (const int delay : {-1, 0, 200, 1000, 3000, 10000, 30000}) {
        SCOPED_TRACE("killed " + std::to_string(delay) + " us after its entry");
        const auto pid = next_start();
        if (HasFailure() || !pid) break;  // failed, or killed late enough to have started Alert
        if (delay >= 0) {
            kill(*pid, SIGCONT);
            std::this_thread::sleep_for(microseconds(delay));
        }
        // Refused: it had already run to its end (in a few milliseconds).
        if (kill(*pid, SIGKILL) != 0) break;
        ASSERT_TRUE(eventually([&] { return kill(*pid, 0) != 0; }));
        const std::string due = registered_time();
        ASSERT_LT(due, "2026-03-07 09:00:00") << "the alarm is owed";
        // Its safety re-run (30 s on), or the service's retry, which waits longer with each
        // start in a row that died unfinished: either brings it back.
        const long long ahead = seconds_between(local_now(), due);
        if (!reminder_shown() && ahead > 3) run_clock_to(due);
    }
    ASSERT_FALSE(HasFailure());
    if (const auto pid = next_start()) kill(*pid, SIGCONT);
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return plays().size() == 1; }));
    EXPECT_NE(refire_of(alarm), "");
    dismiss();
    EXPECT_EQ(registered_time(), "2026-03-07 09:00:00") << "the once alarm is done; the next one is registered";
    EXPECT_EQ(AlertKey::Pending(), later);
    EXPECT_EQ(plays().size(), 1u) << "rung once";
}

// A change of zone while the reminder is open, its alarm already answered by a tap:
// nothing rings and no repeat is armed again.
TEST_F(RingOnce, AZoneChangeDoesNotRingAnAnsweredAlarmAgain) {
    ok({"tz", "set", "UTC"});
    set_clock("2027-01-12 06:45:00");
    const std::u16string alarm = add_alarm("07:00", {"--days", "daily", "--sound", write_sound(kShortSound)});
    set_clock("06:59:58");
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return plays().size() == 1; }));
    ok({"tap", "120", "40"});
    ASSERT_TRUE(eventually([&] { return refire_of(alarm).empty(); })) << "the tap took the repeat back";

    const std::size_t before = wake_starts("AppRunAfterTzChange").size();
    ok({"tz", "set", "Europe/London"});  // the same offset in January
    reminder_took_event("AppRunAfterTzChange", before);
    EXPECT_EQ(refire_of(alarm), "") << "no repeat armed again";
    EXPECT_TRUE(reminder_shown());
    EXPECT_EQ(registered_time(), "2027-01-13 07:00:00");
    dismiss();
    EXPECT_EQ(plays().size(), 1u) << "nothing rang again";
}

// The clock set back while an alarm rings, before and after a repeat: the reminder stays,
// its repeat stays armed, and the alarm rings again at that repeat.
TEST_F(RingOnce, AClockSetBackWhileAnAlarmRingsNeitherEndsNorLosesIt) {
    const std::u16string alarm = ring_at("07:00", {"--days", "daily", "--replay", "1", "--sound", write_sound(kShortSound)});
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return plays().size() == 1; }));
    std::size_t before = wake_starts("AppRunAfterTimeChange").size();
    set_clock("06:59:30");
    reminder_took_event("AppRunAfterTimeChange", before);
    EXPECT_TRUE(reminder_shown()) << "the reminder stays";
    EXPECT_EQ(refire_of(alarm), "07:01");

    run_clock_to("2026-03-07 07:01:00");
    ASSERT_TRUE(eventually([&] { return plays().size() == 2; })) << "the repeat rings";
    ASSERT_EQ(refire_of(alarm), "07:02");
    before = wake_starts("AppRunAfterTimeChange").size();
    set_clock("07:00:20");
    reminder_took_event("AppRunAfterTimeChange", before);
    EXPECT_TRUE(reminder_shown()) << "the reminder stays";
    EXPECT_EQ(refire_of(alarm), "07:02") << "the unanswered alarm keeps its repeat";
    EXPECT_EQ(registered_time(), "2026-03-07 07:02:00");

    run_clock_to("2026-03-07 07:02:00");
    ASSERT_TRUE(eventually([&] { return plays().size() == 3; })) << "it rings again at its repeat";
    dismiss();
    EXPECT_EQ(registered_time(), "2026-03-08 07:00:00");
}

// Berlin sets its clock back from 03:00 to 02:00 on 2027-10-31. Snooze during the second
// 02:xx rings 5 minutes later, in that same repeated hour, not at 02:15 the next day.
TEST_F(RingOnce, SnoozeDuringTheRepeatedHourRingsMinutesLater) {
    ok({"tz", "set", "Europe/Berlin"});
    set_clock("2027-10-31 02:10:00");  // the first 02:10, summer time
    const std::u16string alarm =
        add_alarm("02:20", {"--days", "daily", "--replay", "5", "--sound", write_sound(kShortSound)});
    set_clock("02:19:58");
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return plays().size() == 1; }));
    ok({"tap", "120", "40"});
    ASSERT_TRUE(eventually([&] { return refire_of(alarm).empty(); })) << "the tap took the repeat back";
    // The reminder left open 50 minutes, as the clock runs: it reads 02:10 again, winter time.
    ASSERT_TRUE(host::set_device_utc(host::device_utc_now() + minutes(50)));

    ok({"ui", "click", kSnooze});
    ASSERT_TRUE(eventually(reminder_gone));
    EXPECT_EQ(refire_of(alarm), "02:15");
    const std::string due = registered_time();
    ASSERT_EQ(due, "2027-10-31 02:15:00") << "today, in the repeated hour";
    EXPECT_EQ(plays().size(), 1u);

    const auto readings = host::device_utc_readings(*host::time_from_text(due));
    ASSERT_TRUE(readings.has_value());
    ASSERT_TRUE(host::set_device_utc(readings->second - seconds(2)));
    ASSERT_TRUE(eventually(reminder_shown)) << "it rings at the second 02:15";
    ASSERT_TRUE(eventually([&] { return plays().size() == 2; }));
    dismiss();
    EXPECT_EQ(registered_time(), "2027-11-01 02:20:00");
}

// A left ringing with a one-minute repeat, B due at that repeat's minute: both ring, and
// whichever is answered first, the other rings again afterwards until it is answered.
TEST_F(RingOnce, AnAlarmFallingDueWhileAnotherRingsRingsAndTheOtherKeepsItsRepeat) {
    set_clock("2026-03-07 06:40:00");
    add_alarm("07:01", {"--days", "daily", "--description", "B", "--sound", write_sound(kLongSound, "b")});
    ring_at("07:00", {"--days", "daily", "--replay", "1", "--description", "A", "--sound", write_sound(kShortSound, "a")});
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return plays_of(kShortBytes) == 1; }));

    run_clock_to("2026-03-07 07:01:00");
    ASSERT_TRUE(eventually([&] { return plays_of(kLongBytes) == 1; })) << "B rings";
    const std::size_t rung = plays().size();
    dismiss();  // whichever is shown now
    const std::string again = registered_time();
    EXPECT_TRUE(again.starts_with("2026-03-07 07:0")) << "the other alarm rings again today: " << again;
    if (HasFailure()) return;
    run_clock_to(again);
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return plays().size() > rung; }));
    dismiss();
    EXPECT_EQ(registered_time(), "2026-03-08 07:00:00") << "both answered";
}

// Lord Howe skips 02:00-02:30 on 2027-10-03: an alarm at 02:00 is read as 02:30 and
// meets the alarm at 02:30. Both ring, one after the other.
TEST_F(RingOnce, TwoAlarmsAGapMakesMeetRingBoth) {
    ok({"tz", "set", "Australia/Lord_Howe"});
    set_clock("2027-10-03 01:00:00");
    add_alarm("02:00", {"--days", "daily", "--sound", write_sound(kShortSound, "early")});
    add_alarm("02:30", {"--days", "daily", "--sound", write_sound(kLongSound, "late")});
    ASSERT_EQ(registered_time(), "2027-10-03 02:30:00");
    set_clock("01:59:58");
    ASSERT_TRUE(eventually([&] { return plays_of(kShortBytes) == 1 && plays_of(kLongBytes) == 1; }))
        << "both ring";
    dismiss();
    const std::string again = registered_time();
    EXPECT_TRUE(again.starts_with("2027-10-03 02:3")) << "the one overtaken rings again: " << again;
    if (HasFailure()) return;
    run_clock_to(again);
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return plays().size() == 3; }));
    dismiss();
    EXPECT_EQ(registered_time(), "2027-10-04 02:00:00");
}

}  // namespace
