#pragma once
// The registrations a reschedule leaves for the wake program: both clock events and a
// time far ahead, so a test can see which of them a program removes.

#include <gtest/gtest.h>

#include "ce/Notify.h"

namespace testing_support {

inline constexpr const char16_t* kWakeProgram = u"\\Windows\\kivowake.exe";

inline void register_wake_program() {
    ASSERT_TRUE(ce::CeRunAppAtEvent(kWakeProgram, ce::NOTIFICATION_EVENT_TIME_CHANGE));
    ASSERT_TRUE(ce::CeRunAppAtEvent(kWakeProgram, ce::NOTIFICATION_EVENT_TZ_CHANGE));
    ce::SYSTEMTIME due;
    due.wYear = 2040;
    due.wMonth = 1;
    due.wDay = 2;
    due.wHour = 6;
    due.wMinute = 30;
    ASSERT_TRUE(ce::CeRunAppAtTime(kWakeProgram, &due));
}

}  // namespace testing_support
