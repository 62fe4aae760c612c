#pragma once
// Window messages between the programs about the alarm store.

#include <cstdint>

inline constexpr std::uint32_t WM_USER = 0x0400;
// Alert to the window titled "KIVO", both parameters 0: an alarm file was changed (its
// archive attribute cleared); KIVO's alarm list then refreshes.
inline constexpr std::uint32_t WM_ALARMS_CHANGED = WM_USER + 101;
static_assert(WM_ALARMS_CHANGED == 0x0465);
