#include "alert/ReminderClock.h"

#include <cstdio>

#include "ce/Locale.h"

bool ReminderClock::UsesTwentyFourHours() {
    ce::SYSTEMTIME afternoon;
    afternoon.wHour = 14, afternoon.wMinute = 20, afternoon.wSecond = 10;
    char16_t text[64] = {};
    if (ce::GetTimeFormatW(ce::LOCALE_USER_DEFAULT, 0, &afternoon, nullptr, text, 64) == 0) return true;
    return std::u16string_view(text).find(u"PM") == std::u16string_view::npos;
}

std::u16string ReminderClock::TimeText(int hour, int minute, bool twenty_four_hours) {
    if (!twenty_four_hours) {
        if (hour > 12) hour -= 12;
        else if (hour == 0) hour = 12;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%02i:%02i", hour, minute);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}
