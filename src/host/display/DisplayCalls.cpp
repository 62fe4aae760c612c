// The screen's device context and the display driver's escapes, over DisplayPower.

#include <cstring>

#include "ce/Display.h"
#include "host/display/DisplayPower.h"
#include "host/display/SessionScreen.h"

namespace ce {

namespace {

// The one device context there is: the screen's. Never dereferenced.
HDC__* const kScreen = reinterpret_cast<HDC__*>(std::uintptr_t{0x5C4EE7});

bool supported(int escape) {
    return escape == QUERYESCSUPPORT || escape == SETPOWERMANAGEMENT || escape == GETPOWERMANAGEMENT;
}

}  // namespace

HDC GetDC(HWND window) { return window == nullptr ? kScreen : nullptr; }

int ReleaseDC(HWND /*window*/, HDC dc) { return dc == kScreen ? 1 : 0; }

int ExtEscape(HDC dc, int escape, int inputSize, const char* input, int outputSize, char* output) {
    if (dc != kScreen) return -1;
    VIDEO_POWER_MANAGEMENT record;
    switch (escape) {
        case QUERYESCSUPPORT: {
            int asked = 0;
            if (input == nullptr || inputSize < static_cast<int>(sizeof asked)) return -1;
            std::memcpy(&asked, input, sizeof asked);
            return supported(asked) ? 1 : 0;
        }
        case SETPOWERMANAGEMENT:
            if (input == nullptr || inputSize < static_cast<int>(sizeof record)) return -1;
            std::memcpy(&record, input, sizeof record);
            if (record.Length != sizeof record || record.PowerState < VideoPowerOn || record.PowerState > VideoPowerOff)
                return -1;
            if (!host::DisplayPower::set(static_cast<VIDEO_POWER_STATE>(record.PowerState))) return -1;
            if (record.PowerState == VideoPowerOn) host::SessionScreen::ask_to_light();
            return 1;
        case GETPOWERMANAGEMENT:
            if (output == nullptr || outputSize < static_cast<int>(sizeof record)) return -1;
            record.PowerState = host::DisplayPower::state();
            std::memcpy(output, &record, sizeof record);
            return 1;
        default:
            return 0;
    }
}

}  // namespace ce
