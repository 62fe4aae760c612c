#include "ce/Time.h"

#include <chrono>

namespace ce {

namespace {

using namespace std::chrono;

// FILETIME counts 100 ns intervals from 1601-01-01; sys_days counts from 1970-01-01.
constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kEpochDifferenceSeconds = 11'644'473'600;

}  // namespace

BOOL SystemTimeToFileTime(const SYSTEMTIME* time, FILETIME* fileTime) {
    if (time == nullptr || fileTime == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const year_month_day date{year{time->wYear}, month{time->wMonth}, day{time->wDay}};
    if (time->wYear < 1601 || time->wYear > 30827 || !date.ok() || time->wHour > 23 || time->wMinute > 59 ||
        time->wSecond > 59 || time->wMilliseconds > 999) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::int64_t seconds = sys_days(date).time_since_epoch().count() * 86400LL + time->wHour * 3600LL +
                                 time->wMinute * 60LL + time->wSecond + kEpochDifferenceSeconds;
    const auto ticks = static_cast<std::uint64_t>(seconds * kTicksPerSecond + time->wMilliseconds * 10'000LL);
    fileTime->dwLowDateTime = static_cast<DWORD>(ticks);
    fileTime->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* time) {
    if (time == nullptr || fileTime == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::uint64_t ticks = (std::uint64_t{fileTime->dwHighDateTime} << 32) | fileTime->dwLowDateTime;
    if (ticks >= 0x8000000000000000ULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto total_ms = static_cast<std::int64_t>(ticks / 10'000) - kEpochDifferenceSeconds * 1000;
    const auto days = floor<std::chrono::days>(milliseconds(total_ms));
    const year_month_day date{sys_days(days)};
    const std::int64_t ms_of_day = total_ms - days.count() * 86'400'000LL;
    time->wYear = static_cast<WORD>(static_cast<int>(date.year()));
    time->wMonth = static_cast<WORD>(static_cast<unsigned>(date.month()));
    time->wDay = static_cast<WORD>(static_cast<unsigned>(date.day()));
    time->wDayOfWeek = static_cast<WORD>(weekday(sys_days(days)).c_encoding());
    time->wHour = static_cast<WORD>(ms_of_day / 3'600'000);
    time->wMinute = static_cast<WORD>(ms_of_day / 60'000 % 60);
    time->wSecond = static_cast<WORD>(ms_of_day / 1000 % 60);
    time->wMilliseconds = static_cast<WORD>(ms_of_day % 1000);
    return TRUE;
}

}  // namespace ce
