#pragma once
// A temporary handheld with the built programs installed, its notification service
// running, sound captured and infrared unpaced: an alarm set on it goes off through the
// real chain (service, kivowake, Alert) and is answered through `handheld ui`.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "HandheldDeviceTest.h"
#include "host/wave/CaptureLog.h"

namespace e2e {

inline constexpr const char16_t* kAlarms = u"\\Program Files\\KIVO\\Alarms\\";
inline constexpr const char* kReminderTitle = "KIVOAlert";

class AlertHandheld : public tool_tests::HandheldDeviceTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Waits up to `seconds` for `condition`; its last answer.
    static bool eventually(const std::function<bool()>& condition, int seconds = 30);

    // The clock, as "YYYY-MM-DD HH:MM:SS" or "HH:MM:SS" on the handheld's date.
    void set_clock(const std::string& time);
    // `handheld alarm add` with these words after the time; the alarm file's device path.
    std::u16string add_alarm(const std::string& time, const std::vector<std::string>& words);
    // An alarm at "HH:MM" on 2026-03-07, set a quarter of an hour before (a slow start of
    // the tool cannot make it miss its time), with the clock then moved to 2 s before it.
    std::u16string ring_at(const std::string& time, const std::vector<std::string>& words);
    // A codebase "Radio" whose macro "Alarm" sends two signals with a pause between them.
    void add_radio_codebase();
    // A short sound on the host, for --sound; `name` tells two sounds apart.
    std::string write_sound(int milliseconds, const std::string& name = "ring");
    // Moves the clock to 2 s before `time` ("YYYY-MM-DD HH:MM:SS") as the clock simply
    // running would: no time-change event, which would make Alert reschedule.
    static void run_clock_to(const std::string& time);
    // Seconds from `from` to `to`, both "YYYY-MM-DD HH:MM:SS".
    static long long seconds_between(const std::string& from, const std::string& to);
    static std::string local_now();

    // The reminder is what the handheld shows (its window exists while it fires, before
    // it comes to the front).
    static bool reminder_shown();
    static bool reminder_gone();
    // The reminder's controls as `handheld ui dump` lists them.
    std::string reminder_controls();
    std::vector<host::CaptureEntry> plays() const;
    int infrared_sends();
    // The alarm file's pending repeat as "HH:MM", "" when it has none.
    static std::string refire_of(const std::u16string& alarm);
    static std::string registered_time();
    static void end_reminder();
};

}  // namespace e2e
