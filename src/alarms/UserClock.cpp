#include "alarms/UserClock.h"

#include <cstdio>

#include "ce/Locale.h"

bool UserClock::UsesTwelveHours() {
    ce::SYSTEMTIME afternoon;
    afternoon.wHour = 14;
    afternoon.wMinute = 20;
    afternoon.wSecond = 10;
    char16_t text[32] = {};
    if (ce::GetTimeFormatW(ce::LOCALE_USER_DEFAULT, ce::TIME_NOMINUTESORSECONDS, &afternoon, nullptr, text, 32) == 0)
        return false;
    return std::u16string_view(text).find(u"PM") != std::u16string_view::npos;
}

std::u16string UserClock::HoursAndMinutes(int hour, int minute, bool twelve_hours) {
    if (twelve_hours) hour = hour % 12 == 0 ? 12 : hour % 12;
    return TwoDigits(hour) + u":" + TwoDigits(minute);
}

std::u16string UserClock::TwoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02i", value % 100);
    return std::u16string(text, text + 2);
}
