#include "alarms/CAlarmScheduler.h"

#include "alarms/AlarmEnumerator.h"
#include "alarms/AlarmFolder.h"
#include "alarms/AlarmStoreLock.h"
#include "alarms/AlarmWhen.h"
#include "alarms/AlertKey.h"
#include "alarms/CAlarmDB.h"
#include "alarms/WallClock.h"
#include "ce/Files.h"
#include "ce/Notify.h"
#include "ce/Shell.h"

namespace {

bool file_exists(const std::u16string& path) {
    const ce::DWORD attributes = ce::GetFileAttributesW(path.c_str());
    return attributes != ce::INVALID_FILE_ATTRIBUTES && (attributes & ce::FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Seconds at 59: an alarm for the current minute is not due again until tomorrow.
std::int64_t scan_start(const WallClock::Now& clock) { return clock.utc - clock.local.wSecond + 59; }

}  // namespace

std::u16string CAlarmScheduler::AlertProgramPath() { return AlarmFolder::ProgramFolder() + kAlertProgram; }

std::u16string CAlarmScheduler::WakeProgramPath() {
    char16_t folder[ce::MAX_PATH] = {};
    if (!ce::SHGetSpecialFolderPath(nullptr, folder, ce::CSIDL_WINDOWS, ce::FALSE)) return kWakeProgram;
    return std::u16string(folder) + u"\\" + kWakeProgram;
}

void CAlarmScheduler::RemoveRegistrations(const std::u16string& wake_program) {
    ce::CeRunAppAtEvent(wake_program.c_str(), ce::NOTIFICATION_EVENT_NONE);
    ce::CeRunAppAtTime(wake_program.c_str(), nullptr);
}

std::optional<std::int64_t> CAlarmScheduler::NextDue(CAlarmDB& alarm, const WallClock::Now& clock) {
    const auto when = AlarmWhen::FromFile(alarm);
    if (!when) return std::nullopt;
    return when->NextAfter(scan_start(clock), clock.local);
}

int CAlarmScheduler::Reschedule() {
    const WallClock::Now clock = WallClock::Read();

    AlarmStoreLock lock;
    if (!lock.Lock()) return 0;
    const std::u16string wake = WakeProgramPath();
    ce::CeRunAppAtEvent(wake.c_str(), ce::NOTIFICATION_EVENT_NONE);
    const auto due = FindNext(clock);
    auto local = due ? WallClock::LocalOf(due->at) : std::nullopt;
    // A program killed at any point of this must leave a wake-up and a pending path that
    // go together: the timed registration is replaced in one step (never removed first),
    // and the pending path changes once, from the old to the new, just before it. The
    // old registration waking Alert for the new path still shows the alarm due.
    // The store stays locked until both are written: the other program rescheduling at
    // the same moment must not register its alarm while this one names a different file.
    if (!local) {
        AlertKey::ClearPending();
        ce::CeRunAppAtTime(wake.c_str(), nullptr);
        return 0;
    }
    AlertKey::SetPending(due->path);
    local->wMilliseconds = 0;
    const int registered = RegisterWake(*local);
    if (registered == 0) {
        AlertKey::ClearPending();
        ce::CeRunAppAtTime(wake.c_str(), nullptr);
    }
    return registered;
}

std::optional<CAlarmScheduler::Due> CAlarmScheduler::FindNext(const WallClock::Now& clock) {
    const std::u16string folder = AlarmFolder::Path();
    std::optional<Due> best;
    const std::int64_t horizon = scan_start(clock) + kHorizonSeconds;
    for (const auto& name : AlarmEnumerator::FileNames(folder)) {
        CAlarmDB alarm;
        if (alarm.OpenForReading(folder + name) != CAlarmDB::kOk) continue;
        const auto at = NextDue(alarm, clock);
        alarm.Close();
        // Strictly earlier: of two alarms due at once, the first enumerated wins.
        if (at && *at < (best ? best->at : horizon)) best = Due{*at, folder + name};
    }
    return best;
}

int CAlarmScheduler::RegisterWake(const ce::SYSTEMTIME& time) {
    const auto at = WallClock::InstantOf(time);
    if (!at || *at <= WallClock::Read().utc) return 0;

    const std::u16string alert = AlertProgramPath();
    const std::u16string wake = WakeProgramPath();
    if (!file_exists(alert)) {
        RemoveRegistrations(wake);
        return 0;
    }
    AlertKey::SetExe(alert);
    if (!file_exists(wake)) {
        RemoveRegistrations(wake);
        return 0;
    }
    ce::CeRunAppAtEvent(wake.c_str(), ce::NOTIFICATION_EVENT_TIME_CHANGE);
    ce::CeRunAppAtEvent(wake.c_str(), ce::NOTIFICATION_EVENT_TZ_CHANGE);
    return ce::CeRunAppAtTime(wake.c_str(), &time) != ce::FALSE ? 1 : 0;
}
