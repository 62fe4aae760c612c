#pragma once
// The handheld's clock: its local time (with its own time zone and daylight saving)
// and the millisecond tick count.

#include "ce/Files.h"
#include "ce/Types.h"

namespace ce {

struct SYSTEMTIME {
    WORD wYear = 0;
    WORD wMonth = 0;      // 1-12
    WORD wDayOfWeek = 0;  // 0 = Sunday
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;
};

void GetLocalTime(SYSTEMTIME* time);
void GetSystemTime(SYSTEMTIME* time);
// Milliseconds since the handheld started; wraps after 49.7 days.
DWORD GetTickCount();

// Conversions between the two time forms; FALSE for a date that does not exist.
// Pure arithmetic on the proleptic Gregorian calendar, no time zone involved.
BOOL SystemTimeToFileTime(const SYSTEMTIME* time, FILETIME* fileTime);
BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* time);

// Conversions between the handheld's UTC and local calendar times in its current time
// zone, for code that schedules by the wall clock.
inline constexpr DWORD LOCAL_TIME_UNIQUE = 0;
inline constexpr DWORD LOCAL_TIME_SKIPPED = 1;   // inside the gap when the clock springs forward
inline constexpr DWORD LOCAL_TIME_REPEATED = 2;  // inside the hour the clock falls back over
// The UTC at which the handheld's clock reads `local`. A skipped reading is read shifted
// forward by the length of the gap (02:10 in an hour skipped at 02:00 gives 03:10); a
// repeated one the earlier of its two instants. `fold` (may be null) gets which of the three it was. FALSE
// (ERROR_INVALID_PARAMETER) for a date or time of day that does not exist.
BOOL LocalTimeToSystemTime(const SYSTEMTIME* local, SYSTEMTIME* utc, DWORD* fold = nullptr);
// The handheld's local calendar time at `utc`, its day of week filled in.
BOOL SystemTimeToLocalTime(const SYSTEMTIME* utc, SYSTEMTIME* local);

}  // namespace ce
