#include "ClockText.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "host/clock/Clock.h"
#include "host/clock/ComputerZone.h"
#include "host/clock/LocalTime.h"

namespace handheld {

namespace {

constexpr std::string_view kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};

// Minutes and seconds are written with two digits each, so that "10:5" is not taken for 10:05.
bool has_two_digit_fields(std::string_view time_of_day) {
    const auto colon = time_of_day.find(':');
    if (colon == std::string_view::npos) return false;
    for (std::string_view rest = time_of_day.substr(colon + 1);;) {
        const auto next = rest.find(':');
        if (rest.substr(0, next).size() != 2) return false;
        if (next == std::string_view::npos) return true;
        rest.remove_prefix(next + 1);
    }
}

}  // namespace

std::string format_local_time(const ce::SYSTEMTIME& time) { return host::time_text(time); }

std::string_view weekday_name(ce::WORD day_of_week) { return day_of_week < 7 ? kWeekdays[day_of_week] : "?"; }

std::optional<ce::SYSTEMTIME> parse_local_time(std::string_view text, const ce::SYSTEMTIME& today) {
    // A date starts with four digits and a dash; anything else is a time of day alone.
    const bool has_date = text.size() > 4 && text[4] == '-';
    std::string full = has_date ? std::string(text) : format_local_time(today).substr(0, 11) + std::string(text);
    const auto time_of_day = std::string_view(full).substr(full.rfind(' ') + 1);
    if (!has_two_digit_fields(time_of_day)) return std::nullopt;
    if (std::count(time_of_day.begin(), time_of_day.end(), ':') == 1) full += ":00";
    // Days that do not exist (2023-02-29) and hours past 23 are refused here.
    return host::time_from_text(full);
}

int utc_offset_minutes() {
    // Both readings from one instant, so the difference is the zone's offset exactly.
    const auto utc = host::device_utc_now();
    const auto local = host::reading_of(host::device_local_time(utc)).value_or(host::TimeZone::Local{});
    const auto utc_seconds = std::chrono::duration_cast<std::chrono::seconds>(utc.time_since_epoch()).count();
    const auto local_seconds = std::chrono::duration_cast<std::chrono::seconds>(local).count();
    return static_cast<int>((local_seconds - utc_seconds) / 60);
}

std::string utc_offset_text(int minutes) {
    const int magnitude = minutes < 0 ? -minutes : minutes;
    char text[16];
    std::snprintf(text, sizeof text, "UTC%c%02d:%02d", minutes < 0 ? '-' : '+', magnitude / 60, magnitude % 60);
    return text;
}

std::string clock_source_text() {
    switch (host::clock_settings().source) {
    case host::ClockSource::computer:
        return "this computer's, in the zone " + host::ComputerZone::link().string() + " names";
    case host::ClockSource::computer_named:
        return "this computer's, in the zone $TZ named when it began to follow";
    case host::ClockSource::own:
        break;
    }
    return "its own (`handheld time follow` takes this computer's)";
}

std::string zone_text() { return host::clock_settings().zone + " (" + utc_offset_text(utc_offset_minutes()) + ")"; }

}  // namespace handheld
