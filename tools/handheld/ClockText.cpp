#include "ClockText.h"

#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>

#include "host/clock/Clock.h"

namespace handheld {

namespace {

constexpr std::string_view kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};

// Reads the text one field at a time; any field of the wrong shape stops the parse.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    // A number of min_digits to max_digits digits.
    std::optional<ce::WORD> number(std::size_t min_digits, std::size_t max_digits) {
        std::size_t digits = 0;
        while (digits < text_.size() && digits <= max_digits && text_[digits] >= '0' && text_[digits] <= '9')
            ++digits;
        if (digits < min_digits || digits > max_digits) return std::nullopt;
        unsigned value = 0;
        std::from_chars(text_.data(), text_.data() + digits, value);
        text_.remove_prefix(digits);
        return static_cast<ce::WORD>(value);
    }
    bool skip(char separator) {
        if (text_.empty() || text_.front() != separator) return false;
        text_.remove_prefix(1);
        return true;
    }
    bool done() const { return text_.empty(); }

private:
    std::string_view text_;
};

bool read_time_of_day(FieldReader& reader, ce::SYSTEMTIME& time) {
    const auto hour = reader.number(1, 2);
    if (!hour || !reader.skip(':')) return false;
    const auto minute = reader.number(2, 2);
    if (!minute) return false;
    std::optional<ce::WORD> second = 0;
    if (reader.skip(':')) second = reader.number(2, 2);
    if (!second || !reader.done()) return false;
    time.wHour = *hour;
    time.wMinute = *minute;
    time.wSecond = *second;
    time.wMilliseconds = 0;
    return true;
}

bool read_date(FieldReader& reader, ce::SYSTEMTIME& time) {
    const auto year = reader.number(4, 4);
    if (!year || !reader.skip('-')) return false;
    const auto month = reader.number(1, 2);
    if (!month || !reader.skip('-')) return false;
    const auto day = reader.number(1, 2);
    if (!day || !reader.skip(' ')) return false;
    while (reader.skip(' ')) {
    }
    time.wYear = *year;
    time.wMonth = *month;
    time.wDay = *day;
    return true;
}

// FILETIME ticks are 100 ns from 1601-01-01; the host clock counts from 1970-01-01.
constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kEpochDifferenceSeconds = 11'644'473'600;

std::int64_t ticks_of(const ce::SYSTEMTIME& time) {
    ce::FILETIME file_time;
    if (!ce::SystemTimeToFileTime(&time, &file_time)) return 0;
    return static_cast<std::int64_t>((std::uint64_t{file_time.dwHighDateTime} << 32) | file_time.dwLowDateTime);
}

}  // namespace

std::string format_local_time(const ce::SYSTEMTIME& time) {
    char text[48];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", unsigned{time.wYear}, unsigned{time.wMonth},
                  unsigned{time.wDay}, unsigned{time.wHour}, unsigned{time.wMinute}, unsigned{time.wSecond});
    return text;
}

std::string_view weekday_name(ce::WORD day_of_week) { return day_of_week < 7 ? kWeekdays[day_of_week] : "?"; }

std::optional<ce::SYSTEMTIME> parse_local_time(std::string_view text, const ce::SYSTEMTIME& today) {
    ce::SYSTEMTIME time = today;
    FieldReader reader(text);
    // A date starts with four digits and a dash; anything else is a time of day alone.
    const bool has_date = text.size() > 4 && text[4] == '-';
    if (has_date && !read_date(reader, time)) return std::nullopt;
    if (!read_time_of_day(reader, time)) return std::nullopt;
    // The calendar arithmetic refuses days that do not exist (2023-02-29) and hours past 23.
    ce::FILETIME check;
    if (!ce::SystemTimeToFileTime(&time, &check)) return std::nullopt;
    ce::SYSTEMTIME normalised;
    ce::FileTimeToSystemTime(&check, &normalised);
    return normalised;
}

int utc_offset_minutes() {
    // Both readings from one instant, so the difference is the zone's offset exactly.
    const auto utc = host::device_utc_now();
    const auto local = host::device_local_time(utc);
    const auto utc_seconds = std::chrono::duration_cast<std::chrono::seconds>(utc.time_since_epoch()).count();
    const std::int64_t local_seconds = ticks_of(local) / kTicksPerSecond - kEpochDifferenceSeconds;
    return static_cast<int>((local_seconds - utc_seconds) / 60);
}

std::string utc_offset_text(int minutes) {
    const int magnitude = minutes < 0 ? -minutes : minutes;
    char text[16];
    std::snprintf(text, sizeof text, "UTC%c%02d:%02d", minutes < 0 ? '-' : '+', magnitude / 60, magnitude % 60);
    return text;
}

std::string zone_text() { return host::clock_settings().zone + " (" + utc_offset_text(utc_offset_minutes()) + ")"; }

}  // namespace handheld
