#pragma once
// The handheld's regional settings as programs format times with them: the user's time
// format picture lives in HKEY_CURRENT_USER "Control Panel\International" as
// "sTimeFormat" (a picture such as "h:mm:ss tt" or "HH:mm:ss"), the short date's as
// "sShortDate" ("M/d/yy", "dd.MM.yyyy"); without them the handheld shows the 12-hour
// clock and the month-first date of its factory settings.

#include "ce/Time.h"
#include "ce/Types.h"

namespace ce {

using LCID = DWORD;
inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;

inline constexpr DWORD TIME_NOMINUTESORSECONDS = 0x1;
inline constexpr DWORD TIME_NOSECONDS = 0x2;
inline constexpr DWORD TIME_NOTIMEMARKER = 0x4;
inline constexpr DWORD TIME_FORCE24HOURFORMAT = 0x8;

inline constexpr const char16_t* kInternationalKey = u"Control Panel\\International";
inline constexpr const char16_t* kTimeFormatValue = u"sTimeFormat";
inline constexpr const char16_t* kDefaultTimeFormat = u"h:mm:ss tt";
inline constexpr const char16_t* kShortDateValue = u"sShortDate";
inline constexpr const char16_t* kDefaultShortDate = u"M/d/yy";

inline constexpr DWORD DATE_SHORTDATE = 0x1;

// Formats `time` (null: the local time now) by `format` (null: the user's picture): h/hh
// 12-hour, H/HH 24-hour, m/mm, s/ss, t/tt the "A"/"AM" marker, text in single quotes
// as it stands. A flag that leaves out a field also leaves out the separator before it.
// Returns the characters written with the NUL; with `chars` 0 the characters needed.
// 0 with ERROR_INVALID_PARAMETER for an impossible time, ERROR_INSUFFICIENT_BUFFER when
// the text does not fit.
int GetTimeFormatW(LCID locale, DWORD flags, const SYSTEMTIME* time, LPCWSTR format, LPWSTR out, int chars);
// Formats the date of `date` (null: today) by `format` (null: the user's short date
// picture): d/dd the day, M/MM the month, yy/yyyy the year, text in single quotes as it
// stands. Returns and fails as GetTimeFormatW (an impossible month or day is invalid).
int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR format, LPWSTR out, int chars);

}  // namespace ce
