#pragma once
// A wall-clock reading of the handheld three ways: as the platform's SYSTEMTIME, as
// milliseconds of the wall clock (what the time zone converts), and as the text the
// handheld writes into its database and logs, "2024-03-05 14:30:00" (sorting in time
// order, readable by people), with ".250" where milliseconds count.

#include <optional>
#include <string>
#include <string_view>

#include "ce/Time.h"
#include "host/clock/TimeZone.h"

namespace host {

// The day of the week filled in; zero fields for a date or time of day that does not exist.
ce::SYSTEMTIME system_time(int year, int month, int day, int hour, int minute, int second = 0,
                           int milliseconds = 0);
ce::SYSTEMTIME system_time_of(TimeZone::Local reading);
// Nothing for a date or time of day that does not exist; the day of the week is not looked at.
std::optional<TimeZone::Local> reading_of(const ce::SYSTEMTIME& time);

std::string time_text(const ce::SYSTEMTIME& time, bool with_milliseconds = false);
// "YYYY-MM-DD HH:MM:SS" or "YYYY-MM-DD HH:MM:SS.mmm"; nothing for text of another shape
// or a date or time of day that does not exist.
std::optional<ce::SYSTEMTIME> time_from_text(std::string_view text);

}  // namespace host
