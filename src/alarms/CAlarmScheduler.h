#pragma once
// The next alarm and the wake registration. At any moment at most one alarm is pending
// with the handheld's notification database: the one due next. Reschedule finds it in
// the alarm store and registers the wake program for its time and for every change of
// the clock or the time zone (so the next alarm is found again after such a change),
// and leaves the alarm's path as the Alert key's default value for the programs that
// run at that time, with the instant it falls due. Each call replaces the previous
// registrations completely, with two exceptions that keep every alarm ringing once:
// - an alarm owed: the pending alarm's instant has come, its wake-up is still registered
//   (being started, or the wake program's safety re-run), and no reminder has fired it
//   yet. A reschedule then (a change of the clock landing on the alarm, an edit in KIVO)
//   leaves it pending, so the reminder about to show it shows it and not the next one;
// - alarms that meet: after the reminder fired one alarm, any other alarm due at that
//   same instant is due now, and is registered a second on so that it rings next.
// An alarm file that cannot be read because another program holds it keeps the
// registration it had, and the store is read again until it can be (BusyAlarmRetry).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "alarms/WallClock.h"
#include "ce/Time.h"

class CAlarmDB;

class CAlarmScheduler {
public:
    // Nothing due within this long counts as nothing due.
    static constexpr std::int64_t kHorizonSeconds = 31'536'000;
    static constexpr const char16_t* kAlertProgram = u"Alert.exe";
    static constexpr const char16_t* kWakeProgram = u"kivowake.exe";

    // Non-zero when an alarm was found and registered. When the store cannot be locked,
    // nothing changes (registrations and pending path stay) and the result is 0.
    static int Reschedule();
    // The instant the reminder has just fired an alarm for (its repeat armed), and every
    // alarm it has fired for that instant.
    struct Fired {
        std::int64_t due = 0;
        std::vector<std::u16string> paths;
    };
    // How far from now an alarm met at an instant already past is registered.
    static constexpr std::int64_t kMeetingDelaySeconds = 2;
    static int Reschedule(const Fired& fired);
    // After the reminder answered `alarm_path` (Dismiss, Snooze, a tap, its hour used
    // up): a wake-up still registered for that alarm is no longer owed to it.
    static int RescheduleAnswered(const std::u16string& alarm_path);
    // Registers the wake program at the local time `time`; non-zero on success, 0 when
    // nothing was registered (a time not in the future changes nothing; a missing alert
    // or wake program removes every registration).
    static int RegisterWake(const ce::SYSTEMTIME& time);

    // When the open alarm is next due (whole UTC seconds) as a reschedule at `clock` sees
    // it; nothing for an alarm the scan skips.
    static std::optional<std::int64_t> NextDue(CAlarmDB& alarm, const WallClock::Now& clock);
    // Whether the open alarm falls due at exactly `instant` (before the scan's start).
    static bool DueAt(CAlarmDB& alarm, std::int64_t instant, const WallClock::Now& clock);

    // The program folder's "Alert.exe", and "kivowake.exe" in the Windows folder.
    static std::u16string AlertProgramPath();
    static std::u16string WakeProgramPath();

private:
    struct Due {
        std::int64_t at = 0;  // whole UTC seconds
        std::u16string path;
    };
    struct Scan {
        std::optional<Due> next;
        std::vector<std::u16string> busy;  // the files another program kept from being read
    };
    static int Reschedule(const Fired* fired, const std::u16string& answered);
    // Under the store lock: the alarm due first at `clock`, of the files in enumeration
    // order; one other than `fired` that meets it at its instant comes first.
    static Scan FindNext(const WallClock::Now& clock, const Fired* fired);
    // The pending alarm, when its file was busy, still due as registered.
    static void KeepBusyPending(Scan& scan, const WallClock::Now& clock);
    static bool PendingOwed(const WallClock::Now& clock, const std::u16string& wake_program,
                            const std::u16string& answered);
    static std::int64_t WakeInstant(std::int64_t due);
    static int RegisterWakeAt(const ce::SYSTEMTIME& time, std::int64_t at);
    static void RemoveRegistrations(const std::u16string& wake_program);
};
