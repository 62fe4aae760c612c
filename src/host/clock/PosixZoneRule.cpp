#include "host/clock/PosixZoneRule.h"

#include <algorithm>
#include <cctype>
#include <chrono>

namespace host {

namespace {

using namespace std::chrono;

constexpr std::int32_t kHour = 3600;

bool starts_with_digit(std::string_view text) { return !text.empty() && std::isdigit(static_cast<unsigned char>(text[0])); }

bool take(std::string_view& text, char wanted) {
    if (text.empty() || text[0] != wanted) return false;
    text.remove_prefix(1);
    return true;
}

// A run of digits, at most `most`.
std::optional<int> take_number(std::string_view& text, int most) {
    if (!starts_with_digit(text)) return std::nullopt;
    int value = 0;
    while (starts_with_digit(text)) {
        value = value * 10 + (text[0] - '0');
        if (value > most) return std::nullopt;
        text.remove_prefix(1);
    }
    return value;
}

// "CET", or quoted like "<+0330>"; only its length is checked, the rule never shows it.
bool take_name(std::string_view& text) {
    if (take(text, '<')) {
        const auto end = text.find('>');
        if (end == std::string_view::npos || end < 3) return false;
        for (const char c : text.substr(0, end))
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-') return false;
        text.remove_prefix(end + 1);
        return true;
    }
    std::size_t length = 0;
    while (length < text.size() && std::isalpha(static_cast<unsigned char>(text[length]))) ++length;
    if (length < 3) return false;
    text.remove_prefix(length);
    return true;
}

// [+-]hh[:mm[:ss]] in seconds.
std::optional<std::int32_t> take_time(std::string_view& text, int most_hours) {
    const bool negative = take(text, '-');
    if (!negative) take(text, '+');
    const auto hours = take_number(text, most_hours);
    if (!hours) return std::nullopt;
    std::int32_t seconds = *hours * kHour;
    for (const std::int32_t unit : {60, 1}) {
        if (!take(text, ':')) break;
        const auto part = take_number(text, 59);
        if (!part) return std::nullopt;
        seconds += *part * unit;
    }
    return negative ? -seconds : seconds;
}

}  // namespace

std::optional<std::int32_t> PosixZoneRule::parse_offset(std::string_view& text) {
    // POSIX counts hours west of Greenwich: "CET-1" is an hour ahead of UTC.
    const auto west = take_time(text, 24);
    if (!west) return std::nullopt;
    return -*west;
}

std::optional<PosixZoneRule::Transition> PosixZoneRule::parse_transition(std::string_view& text) {
    Transition transition;
    Day& day = transition.day;
    if (take(text, 'J')) {
        const auto number = take_number(text, 365);
        if (!number || *number < 1) return std::nullopt;
        day = {Day::Kind::julian_without_leap_day, *number};
    } else if (take(text, 'M')) {
        const auto month = take_number(text, 12);
        if (!month || *month < 1 || !take(text, '.')) return std::nullopt;
        const auto week = take_number(text, 5);
        if (!week || *week < 1 || !take(text, '.')) return std::nullopt;
        const auto weekday = take_number(text, 6);
        if (!weekday) return std::nullopt;
        day = {Day::Kind::month_week_weekday, *month, *week, *weekday};
    } else {
        const auto number = take_number(text, 365);
        if (!number) return std::nullopt;
        day = {Day::Kind::julian_from_zero, *number};
    }
    if (take(text, '/')) {
        const auto time = take_time(text, 167);
        if (!time) return std::nullopt;
        transition.time = *time;
    }
    return transition;
}

std::optional<PosixZoneRule> PosixZoneRule::parse(std::string_view text) {
    PosixZoneRule rule;
    if (!take_name(text)) return std::nullopt;
    const auto standard = parse_offset(text);
    if (!standard) return std::nullopt;
    rule.standard_offset_ = rule.daylight_offset_ = *standard;
    if (text.empty()) return rule;

    if (!take_name(text)) return std::nullopt;
    rule.has_daylight_saving_ = true;
    rule.daylight_offset_ = *standard + kHour;
    if (!text.empty() && text[0] != ',') {
        const auto daylight = parse_offset(text);
        if (!daylight) return std::nullopt;
        rule.daylight_offset_ = *daylight;
    }
    // POSIX leaves the dates of a rule without them to the system; the tz database
    // always writes them.
    if (!take(text, ',')) return std::nullopt;
    const auto start = parse_transition(text);
    if (!start || !take(text, ',')) return std::nullopt;
    const auto end = parse_transition(text);
    if (!end || !text.empty()) return std::nullopt;
    rule.start_ = *start;
    rule.end_ = *end;
    return rule;
}

std::int64_t PosixZoneRule::local_seconds(int year_number, const Transition& transition) {
    const Day& rule = transition.day;
    const year y(year_number);
    sys_days date;
    switch (rule.kind) {
    case Day::Kind::julian_without_leap_day: {
        // February 29 is never counted: day 60 is March 1 in every year.
        const int index = rule.number - 1 + (y.is_leap() && rule.number >= 60 ? 1 : 0);
        date = sys_days(y / January / 1) + days(index);
        break;
    }
    case Day::Kind::julian_from_zero:
        date = sys_days(y / January / 1) + days(rule.number);
        break;
    case Day::Kind::month_week_weekday: {
        const auto month_of = y / month(static_cast<unsigned>(rule.number));
        const sys_days first(month_of / 1);
        const unsigned first_weekday = weekday(first).c_encoding();
        int day_of_month = 1 + (rule.weekday - static_cast<int>(first_weekday) + 7) % 7 + 7 * (rule.week - 1);
        // Week 5 is the month's last such weekday, whether it has four or five.
        const int month_length = static_cast<int>(static_cast<unsigned>((month_of / std::chrono::last).day()));
        while (day_of_month > month_length) day_of_month -= 7;
        date = first + days(day_of_month - 1);
        break;
    }
    }
    return date.time_since_epoch().count() * std::int64_t{86400} + transition.time;
}

std::vector<PosixZoneRule::Change> PosixZoneRule::changes_in(int year) const {
    if (!has_daylight_saving_) return {};
    // The start is written in standard time, the end in daylight saving time.
    std::vector<Change> changes{{local_seconds(year, start_) - standard_offset_, daylight_offset_},
                                {local_seconds(year, end_) - daylight_offset_, standard_offset_}};
    // South of the equator daylight saving ends before it starts again in the same year.
    if (changes[1].at < changes[0].at) std::swap(changes[0], changes[1]);
    return changes;
}

}  // namespace host
