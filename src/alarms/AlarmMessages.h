#pragma once
// Window messages between the programs about the alarm store and its alarms.

#include <cstdint>

inline constexpr std::uint32_t WM_USER = 0x0400;
// Alert to the window titled "KIVO", both parameters 0: an alarm file was changed (its
// archive attribute cleared); KIVO's alarm list then refreshes.
inline constexpr std::uint32_t WM_ALARMS_CHANGED = WM_USER + 101;
static_assert(WM_ALARMS_CHANGED == 0x0465);
// kivowake to the window titled "KIVOAlert", wParam 0: an alarm is due (lParam 0) or the
// clock or time zone changed (lParam 1); the running Alert then fires or recomputes.
inline constexpr std::uint32_t WM_ALERT_REFIRE = WM_USER + 311;
static_assert(WM_ALERT_REFIRE == 0x0537);
inline constexpr std::intptr_t kRefireAlarmDue = 0;
inline constexpr std::intptr_t kRefireClockChanged = 1;
