#include "alarms/WallClock.h"

namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kSecondsPerDay = 86'400;

ce::SYSTEMTIME from_seconds(std::int64_t seconds, bool* ok) {
    ce::SYSTEMTIME time;
    *ok = false;
    if (seconds < 0) return time;
    const auto ticks = static_cast<std::uint64_t>(seconds) * kTicksPerSecond;
    ce::FILETIME file{static_cast<ce::DWORD>(ticks), static_cast<ce::DWORD>(ticks >> 32)};
    *ok = ce::FileTimeToSystemTime(&file, &time) != ce::FALSE;
    return time;
}

}  // namespace

WallClock::Now WallClock::Read() {
    ce::SYSTEMTIME utc;
    ce::GetSystemTime(&utc);
    utc.wMilliseconds = 0;
    Now now;
    now.utc = Seconds(utc).value_or(0);
    // The local reading of the same instant, so date and UTC never straddle a midnight.
    ce::SystemTimeToLocalTime(&utc, &now.local);
    return now;
}

std::optional<std::int64_t> WallClock::Seconds(const ce::SYSTEMTIME& utc) {
    ce::FILETIME file;
    if (!ce::SystemTimeToFileTime(&utc, &file)) return std::nullopt;
    const std::uint64_t ticks = (std::uint64_t{file.dwHighDateTime} << 32) | file.dwLowDateTime;
    return static_cast<std::int64_t>(ticks / kTicksPerSecond);
}

std::optional<ce::SYSTEMTIME> WallClock::LocalOf(std::int64_t utc) {
    bool ok = false;
    const ce::SYSTEMTIME universal = from_seconds(utc, &ok);
    ce::SYSTEMTIME local;
    if (!ok || !ce::SystemTimeToLocalTime(&universal, &local)) return std::nullopt;
    return local;
}

std::optional<std::int64_t> WallClock::InstantOf(const ce::SYSTEMTIME& local) {
    ce::SYSTEMTIME utc;
    if (!ce::LocalTimeToSystemTime(&local, &utc)) return std::nullopt;
    return Seconds(utc);
}

std::optional<std::int64_t> WallClock::SecondInstantOf(const ce::SYSTEMTIME& local) {
    const auto first = InstantOf(local);
    const auto reading = Seconds(local);
    if (!first || !reading) return std::nullopt;
    // The offset in force some hours on, once the clock has been set back: read with
    // it, the time falls that much later. A day's folds are an hour or less apart.
    constexpr std::int64_t kAfterTheFold = 3 * 3600;
    const auto later_local = LocalOf(*first + kAfterTheFold);
    const auto later_reading = later_local ? Seconds(*later_local) : std::nullopt;
    if (!later_reading) return std::nullopt;
    const std::int64_t second = *reading - (*later_reading - (*first + kAfterTheFold));
    if (second <= *first) return std::nullopt;
    const auto check = LocalOf(second);
    const auto check_reading = check ? Seconds(*check) : std::nullopt;
    if (!check_reading || *check_reading != *reading) return std::nullopt;
    return second;
}

std::optional<ce::SYSTEMTIME> WallClock::AddDays(const ce::SYSTEMTIME& date, int days) {
    // Calendar arithmetic without a zone: the date's midnight as if it were UTC.
    ce::SYSTEMTIME midnight = date;
    midnight.wHour = midnight.wMinute = midnight.wSecond = midnight.wMilliseconds = 0;
    const auto start = Seconds(midnight);
    if (!start) return std::nullopt;
    bool ok = false;
    ce::SYSTEMTIME result = from_seconds(*start + days * kSecondsPerDay, &ok);
    if (!ok) return std::nullopt;
    result.wHour = date.wHour;
    result.wMinute = date.wMinute;
    result.wSecond = date.wSecond;
    result.wMilliseconds = date.wMilliseconds;
    return result;
}
