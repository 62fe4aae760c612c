#pragma once
// The time as the reminder shows it: on a 24-hour clock unless the user's time format
// is a 12-hour one, which is told by whether it writes 14:20:10 with "PM".

#include <string>
#include <string_view>

class ReminderClock {
public:
    static bool UsesTwentyFourHours();
    // "HH:MM"; on a 12-hour clock the hour runs 12, 1 ... 11.
    static std::u16string TimeText(int hour, int minute, bool twenty_four_hours);
    static std::u16string_view AmPm(int hour) { return hour < 12 ? u"AM" : u"PM"; }
};
