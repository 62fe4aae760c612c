#pragma once
// The handheld's screen as a device context, and the display driver's escapes: whether
// an escape is supported, and the display's power state (switching it on, for one).

#include "ce/Types.h"

namespace ce {

struct HDC__;
using HDC = HDC__*;

inline constexpr int QUERYESCSUPPORT = 8;
inline constexpr int SETPOWERMANAGEMENT = 6147;  // 0x1803
inline constexpr int GETPOWERMANAGEMENT = 6148;  // 0x1804

enum VIDEO_POWER_STATE : ULONG {
    VideoPowerOn = 1,
    VideoPowerStandBy = 2,
    VideoPowerSuspend = 3,
    VideoPowerOff = 4,
};

// The record SETPOWERMANAGEMENT takes and GETPOWERMANAGEMENT fills: 12 bytes.
struct VIDEO_POWER_MANAGEMENT {
    ULONG Length = sizeof(VIDEO_POWER_MANAGEMENT);
    ULONG DPMSVersion = 1;
    ULONG PowerState = VideoPowerOn;
};
static_assert(sizeof(VIDEO_POWER_MANAGEMENT) == 12);

// The screen's device context for a null window (the only one offered); null otherwise.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
// QUERYESCSUPPORT (input: the 4-byte escape number) answers 1 for a supported escape,
// 0 for another. SETPOWERMANAGEMENT (input: the record above) sets the display's power
// state and GETPOWERMANAGEMENT (output: the record) reads it; both answer 1, or -1 for a
// record of the wrong size or state. Any other escape answers 0: not supported.
int ExtEscape(HDC dc, int escape, int inputSize, const char* input, int outputSize, char* output);

}  // namespace ce
