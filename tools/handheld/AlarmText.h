#pragma once
// An alarm's time of day and days in words. Days: "once", "daily", "weekdays",
// "weekend" or a list of day names ("mon,wed,fri"), read without regard to case and
// written back the same way, the list as "Mon,Wed,Fri". Times: "HH:MM".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace handheld {

class AlarmText {
public:
    // Bit 0 Monday ... bit 6 Sunday; nothing for words that name no days.
    static std::optional<std::uint8_t> ParseDays(std::string_view text);
    static std::string FormatDays(std::uint8_t days);

    // Hour and minute of "HH:MM" (00:00-23:59); nothing for text of another shape.
    static std::optional<std::pair<int, int>> ParseTimeOfDay(std::string_view text);
    static std::string TimeOfDay(int hour, int minute);
};

}  // namespace handheld
