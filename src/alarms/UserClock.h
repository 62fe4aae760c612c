#pragma once
// Times of day as both programs show them, on the user's clock: 12-hour when the user's
// time format writes 14:20:10 with "PM", 24-hour otherwise.

#include <string>
#include <string_view>

class UserClock {
public:
    static bool UsesTwelveHours();
    // "HH:MM"; on a 12-hour clock the hour runs 12, 1 ... 11.
    static std::u16string HoursAndMinutes(int hour, int minute, bool twelve_hours);
    static std::u16string_view Marker(int hour) { return hour < 12 ? u"AM" : u"PM"; }
    // "05" for 5 and for 2005.
    static std::u16string TwoDigits(int value);
};
