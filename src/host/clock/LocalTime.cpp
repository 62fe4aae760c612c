#include "host/clock/LocalTime.h"

// Reading fractional seconds, the date library keeps them in a long double that GCC takes
// for possibly unset once the parse is inlined here (it is set before every use). The
// warning is given where the templates are instantiated, at the end of this file.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <date/date.h>

#include <sstream>

namespace host {

using namespace std::chrono;

namespace {

// The reading of the fields as they stand, whether or not they name a real date.
TimeZone::Local unchecked_reading(const ce::SYSTEMTIME& time) {
    const sys_days day(year_month_day(year(time.wYear), month(time.wMonth), std::chrono::day(time.wDay)));
    return day.time_since_epoch() + hours(time.wHour) + minutes(time.wMinute) + seconds(time.wSecond) +
           milliseconds(time.wMilliseconds);
}

}  // namespace

ce::SYSTEMTIME system_time(int year, int month, int day, int hour, int minute, int second, int milliseconds) {
    ce::SYSTEMTIME time;
    time.wYear = static_cast<ce::WORD>(year);
    time.wMonth = static_cast<ce::WORD>(month);
    time.wDay = static_cast<ce::WORD>(day);
    time.wHour = static_cast<ce::WORD>(hour);
    time.wMinute = static_cast<ce::WORD>(minute);
    time.wSecond = static_cast<ce::WORD>(second);
    time.wMilliseconds = static_cast<ce::WORD>(milliseconds);
    if (const auto reading = reading_of(time)) time.wDayOfWeek = system_time_of(*reading).wDayOfWeek;
    return time;
}

ce::SYSTEMTIME system_time_of(TimeZone::Local reading) {
    const sys_days day = floor<days>(sys_time<milliseconds>(reading));
    const year_month_day date(day);
    const hh_mm_ss time(reading - day.time_since_epoch());
    ce::SYSTEMTIME result;
    result.wYear = static_cast<ce::WORD>(static_cast<int>(date.year()));
    result.wMonth = static_cast<ce::WORD>(static_cast<unsigned>(date.month()));
    result.wDay = static_cast<ce::WORD>(static_cast<unsigned>(date.day()));
    result.wDayOfWeek = static_cast<ce::WORD>(weekday(day).c_encoding());
    result.wHour = static_cast<ce::WORD>(time.hours().count());
    result.wMinute = static_cast<ce::WORD>(time.minutes().count());
    result.wSecond = static_cast<ce::WORD>(time.seconds().count());
    result.wMilliseconds = static_cast<ce::WORD>(time.subseconds().count());
    return result;
}

std::optional<TimeZone::Local> reading_of(const ce::SYSTEMTIME& time) {
    ce::FILETIME checked;
    if (!ce::SystemTimeToFileTime(&time, &checked)) return std::nullopt;
    return unchecked_reading(time);
}

std::string time_text(const ce::SYSTEMTIME& time, bool with_milliseconds) {
    const date::local_time<milliseconds> at(unchecked_reading(time));
    return with_milliseconds ? date::format("%F %T", at) : date::format("%F %T", floor<seconds>(at));
}

std::optional<ce::SYSTEMTIME> time_from_text(std::string_view text) {
    std::istringstream in{std::string(text)};
    date::local_time<milliseconds> at;
    in >> date::parse("%F %T", at);
    if (in.fail() || in.peek() != std::istringstream::traits_type::eof()) return std::nullopt;
    return system_time_of(at.time_since_epoch());
}

}  // namespace host

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
