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

}  // namespace ce
