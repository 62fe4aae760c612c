#include "alarms/CAlarmScheduler.h"

#include <algorithm>

#include "alarms/AlarmEnumerator.h"
#include "alarms/AlarmFolder.h"
#include "alarms/AlarmStoreLock.h"
#include "alarms/AlarmWhen.h"
#include "alarms/AlertKey.h"
#include "alarms/BusyAlarmRetry.h"
#include "alarms/CAlarmDB.h"
#include "alarms/InterruptedSave.h"
#include "alarms/WallClock.h"
#include "ce/Files.h"
#include "ce/Notify.h"
#include "ce/Shell.h"
#include "ce/Text.h"

namespace {

bool file_exists(const std::u16string& path) {
    const ce::DWORD attributes = ce::GetFileAttributesW(path.c_str());
    return attributes != ce::INVALID_FILE_ATTRIBUTES && (attributes & ce::FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Contains(const std::vector<std::u16string>& paths, const std::u16string& path) {
    return std::any_of(paths.begin(), paths.end(),
                       [&](const std::u16string& shown) { return ce::lstrcmpiW(shown.c_str(), path.c_str()) == 0; });
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
    // A pending repeat is an instant, due at its first occurrence still ahead: in the hour
    // the clock repeats, that may be later in this minute's pass of it.
    return when->NextAfter(when->is_repeat() ? clock.utc : scan_start(clock), clock.local);
}

bool CAlarmScheduler::DueAt(CAlarmDB& alarm, std::int64_t instant, const WallClock::Now& clock) {
    const auto when = AlarmWhen::FromFile(alarm);
    const auto date = WallClock::LocalOf(instant);
    return when && date && when->NextAfter(instant, *date) == instant && instant <= scan_start(clock);
}

int CAlarmScheduler::Reschedule() { return Reschedule(nullptr, u""); }

int CAlarmScheduler::Reschedule(const Fired& fired) { return Reschedule(&fired, u""); }

int CAlarmScheduler::RescheduleAnswered(const std::u16string& alarm_path) { return Reschedule(nullptr, alarm_path); }

int CAlarmScheduler::Reschedule(const Fired* fired, const std::u16string& answered) {
    const WallClock::Now clock = WallClock::Read();

    AlarmStoreLock lock;
    if (!lock.Lock()) return 0;
    // Both programs reschedule at start-up, before they read an alarm's codebase.
    InterruptedSave::Finish(AlarmFolder::Path());
    const std::u16string wake = WakeProgramPath();
    // The event registrations are never taken away while an alarm is registered: a
    // change of the clock during a reschedule must still reach the wake program.
    if (fired == nullptr && PendingOwed(clock, wake, answered)) return 1;
    Scan scan = FindNext(clock, fired);
    if (scan.busy.empty()) {
        BusyAlarmRetry::Cancel();
    } else {
        KeepBusyPending(scan, clock);
        BusyAlarmRetry::Register(scan.busy, clock.utc);
    }
    const auto& due = scan.next;
    std::int64_t at = due ? WakeInstant(due->at) : 0;
    auto local = due ? WallClock::LocalOf(at) : std::nullopt;
    // A program killed at any point of this must leave a wake-up and a pending path that
    // go together: the timed registration is replaced in one step (never removed first),
    // and the pending path changes once, from the old to the new, just before it. The
    // old registration waking Alert for the new path still shows the alarm due.
    // The store stays locked until both are written: the other program rescheduling at
    // the same moment must not register its alarm while this one names a different file.
    if (!local) {
        AlertKey::ClearPending();
        RemoveRegistrations(wake);
        return 0;
    }
    // An alarm met at the instant just fired: the ones fired for it are kept, so that
    // the reminder of another run does not ring them again for it.
    const bool met = fired != nullptr && due->at == fired->due;
    AlertKey::SetFired(met ? fired->paths : std::vector<std::u16string>{});
    AlertKey::SetPendingDue(due->at);
    AlertKey::SetPending(due->path);
    local->wMilliseconds = 0;
    int registered = RegisterWakeAt(*local, at);
    // Its second came while this ran: it rings a moment from now, as one met late does.
    if (registered == 0 && at <= WallClock::Read().utc) {
        at = WakeInstant(at);
        local = WallClock::LocalOf(at);
        registered = local ? RegisterWakeAt(*local, at) : 0;
    }
    // The wake-up and the pending path go together; the clock and zone events stay, so
    // that a change of either tries again.
    if (registered == 0) {
        AlertKey::ClearPending();
        ce::CeRunAppAtTime(wake.c_str(), nullptr);
    }
    return registered;
}

// An alarm still ahead is registered for its own second; one met at an instant already
// past (or reached while the reschedule ran) rings a moment from now.
std::int64_t CAlarmScheduler::WakeInstant(std::int64_t due) {
    const std::int64_t now = WallClock::Read().utc;
    return due > now ? due : now + kMeetingDelaySeconds;
}

// The pending alarm's instant came and its wake-up is still registered: the service
// is starting the wake program for it, or the wake program's safety re-run will. A
// registration a clock change jumped over is gone, and that alarm is owed nothing.
bool CAlarmScheduler::PendingOwed(const WallClock::Now& clock, const std::u16string& wake_program,
                                   const std::u16string& answered) {
    const auto path = AlertKey::Pending();
    const auto due = AlertKey::PendingDue();
    if (!path || path->empty() || !due || *due > clock.utc || !file_exists(*path)) return false;
    if (ce::lstrcmpiW(path->c_str(), answered.c_str()) == 0) return false;
    ce::SYSTEMTIME registered;
    return ce::CeGetRunAppAtTime(wake_program.c_str(), &registered) != ce::FALSE;
}

void CAlarmScheduler::KeepBusyPending(Scan& scan, const WallClock::Now& clock) {
    const auto path = AlertKey::Pending();
    const auto due = AlertKey::PendingDue();
    if (!path || !due || *due <= clock.utc || !Contains(scan.busy, *path)) return;
    if (!scan.next || *due < scan.next->at) scan.next = Due{*due, *path};
}

CAlarmScheduler::Scan CAlarmScheduler::FindNext(const WallClock::Now& clock, const Fired* fired) {
    const std::u16string folder = AlarmFolder::Path();
    Scan scan;
    auto& best = scan.next;
    const std::int64_t horizon = scan_start(clock) + kHorizonSeconds;
    for (const auto& name : AlarmEnumerator::FileNames(folder)) {
        CAlarmDB alarm;
        const std::u16string path = folder + name;
        if (alarm.OpenForReading(path) != CAlarmDB::kOk) {
            if (ce::GetLastError() == ce::ERROR_SHARING_VIOLATION) scan.busy.push_back(path);
            continue;
        }
        // Another alarm due at the fired one's instant has not rung: it is due now.
        const bool meets = fired != nullptr && fired->due > 0 && !Contains(fired->paths, path) &&
                           DueAt(alarm, fired->due, clock);
        const auto at = meets ? std::optional<std::int64_t>(fired->due) : NextDue(alarm, clock);
        alarm.Close();
        // Strictly earlier: of two alarms due at once, the first enumerated wins.
        if (at && *at < (best ? best->at : horizon)) best = Due{*at, path};
    }
    return scan;
}

int CAlarmScheduler::RegisterWake(const ce::SYSTEMTIME& time) {
    const auto at = WallClock::InstantOf(time);
    return at ? RegisterWakeAt(time, *at) : 0;
}

// `at`: the instant `time` stands for, the second of two in an hour the clock repeats.
int CAlarmScheduler::RegisterWakeAt(const ce::SYSTEMTIME& time, std::int64_t at) {
    if (at <= WallClock::Read().utc) return 0;

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
