#include "wake/WakeProgram.h"

#include "alarms/AlarmMessages.h"
#include "alarms/AlertKey.h"
#include "alarms/WallClock.h"
#include "ce/Files.h"
#include "ce/Notify.h"
#include "ce/Shell.h"
#include "ce/Windows.h"
#include "wake/DisplaySwitch.h"

namespace {

constexpr std::u16string_view kUnregister = u"unregister";
constexpr std::u16string_view kAtTime = u"AppRunAtTime";

bool contains(std::u16string_view text, std::u16string_view word) { return text.find(word) != std::u16string_view::npos; }

}  // namespace

int WakeProgram::Run(std::u16string_view command_line) {
    const std::u16string own_path = OwnPath();
    if (contains(command_line, kUnregister)) {
        Unregister(own_path);
        return 0;
    }
    const std::u16string alert_path = AlertKey::Exe().value_or(u"");
    if (alert_path.empty() || ce::GetFileAttributesW(alert_path.c_str()) == ce::INVALID_FILE_ATTRIBUTES) {
        Unregister(own_path);
        return 0;
    }
    if (contains(command_line, kAtTime)) RegisterSafetyRerun(own_path);
    if (const ce::HWND alert = ce::FindWindowW(nullptr, kAlertTitle); alert != nullptr) {
        PostToAlert(alert, command_line);
        return 0;
    }
    StartAlert(alert_path, command_line);
    return 0;
}

std::u16string WakeProgram::OwnPath() {
    char16_t path[ce::MAX_PATH];
    const ce::DWORD length = ce::GetModuleFileNameW(nullptr, path, ce::MAX_PATH);
    return std::u16string(path, length < ce::MAX_PATH ? length : 0);
}

// Only the event registrations go: the timed one stays until the next reschedule.
void WakeProgram::Unregister(const std::u16string& own_path) {
    ce::CeRunAppAtEvent(own_path.c_str(), ce::NOTIFICATION_EVENT_NONE);
}

void WakeProgram::RegisterSafetyRerun(const std::u16string& own_path) {
    const auto later = WallClock::LocalOf(WallClock::Read().utc + kSafetySeconds);
    if (later) ce::CeRunAppAtTime(own_path.c_str(), &*later);
}

void WakeProgram::PostToAlert(ce::HWND alert, std::u16string_view command_line) {
    // Exactly these words: a running Alert only recomputes after a change of the clock.
    const bool clock_changed =
        command_line == ce::APP_RUN_AFTER_TIME_CHANGE || command_line == ce::APP_RUN_AFTER_TZ_CHANGE;
    ce::PostMessageW(alert, WM_ALERT_REFIRE, 0, clock_changed ? kRefireClockChanged : kRefireAlarmDue);
}

void WakeProgram::StartAlert(const std::u16string& alert_path, std::u16string_view command_line) {
    const bool due = contains(command_line, kAtTime);
    ce::SHELLEXECUTEINFO start;
    start.fMask = ce::SEE_MASK_FLAG_NO_UI;
    start.lpVerb = u"open";
    start.lpFile = alert_path.c_str();
    start.lpParameters = due ? u"SHOW" : u"UPDATE";
    start.nShow = ce::SW_HIDE;
    // A failed start is not reported: nobody is there to tell.
    ce::ShellExecuteEx(&start);
    // Only once the reminder is on its way: lighting the screen may ask the desktop, and
    // nothing outside the handheld may hold up an alarm.
    if (due) DisplaySwitch::SwitchOn();
}
