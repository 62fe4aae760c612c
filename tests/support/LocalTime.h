#pragma once
// A local time for a test to register, store or set the handheld's clock to. The fields
// are taken as given, unlike host::system_time: tests also need times that do not exist.

#include "ce/Time.h"

namespace testing_support {

inline ce::SYSTEMTIME local_time(int year, int month, int day, int hour, int minute, int second = 0) {
    ce::SYSTEMTIME time;
    time.wYear = static_cast<ce::WORD>(year);
    time.wMonth = static_cast<ce::WORD>(month);
    time.wDay = static_cast<ce::WORD>(day);
    time.wHour = static_cast<ce::WORD>(hour);
    time.wMinute = static_cast<ce::WORD>(minute);
    time.wSecond = static_cast<ce::WORD>(second);
    return time;
}

}  // namespace testing_support
