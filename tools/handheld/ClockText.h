#pragma once
// The handheld's local time as people write it on a command line and read it back.

#include <optional>
#include <string>
#include <string_view>

#include "ce/Time.h"

namespace handheld {

// "2024-03-05 14:30:00".
std::string format_local_time(const ce::SYSTEMTIME& time);
// "Tuesday"; "?" for a day number outside 0-6.
std::string_view weekday_name(ce::WORD day_of_week);

// "YYYY-MM-DD HH:MM[:SS]", or "HH:MM[:SS]" on the date of `today`. Nothing for text of
// another shape or a date or time of day that does not exist.
std::optional<ce::SYSTEMTIME> parse_local_time(std::string_view text, const ce::SYSTEMTIME& today);

// The handheld's local time minus its UTC at this moment, in minutes.
int utc_offset_minutes();
// "UTC+01:00", "UTC-03:30", "UTC+00:00".
std::string utc_offset_text(int minutes);
// "Europe/Berlin (UTC+01:00)" for the handheld's zone now.
std::string zone_text();
// Whose clock the handheld keeps, and how to change that.
std::string clock_source_text();
// Said when a setting made by hand ends following the computer.
inline constexpr const char* kOwnClockNotice =
    "the handheld keeps a clock of its own from now on; `handheld time follow` takes this computer's again";

}  // namespace handheld
