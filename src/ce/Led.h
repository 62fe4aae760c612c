#pragma once
// The notification LEDs.

#include "ce/Types.h"

namespace ce {

inline constexpr UINT NLED_COUNT_INFO_ID = 0;
inline constexpr UINT NLED_SETTINGS_INFO_ID = 2;

struct NLED_COUNT_INFO {
    UINT cLeds = 0;
};

struct NLED_SETTINGS_INFO {
    UINT LedNum = 0;
    int OffOnBlink = 0;  // 0 off, 1 on, 2 blink
    LONG TotalCycleTime = 0;
    LONG OnTime = 0;
    LONG OffTime = 0;
    int MetaCycleOn = 0;
    int MetaCycleOff = 0;
};

// NLED_SETTINGS_INFO_ID sets one LED; an LED number the handheld lacks or an unknown
// state gives FALSE (ERROR_INVALID_PARAMETER).
BOOL NLedSetDevice(UINT deviceId, void* input);
// NLED_COUNT_INFO_ID reports how many LEDs there are.
BOOL NLedGetDeviceInfo(UINT infoId, void* output);

}  // namespace ce
