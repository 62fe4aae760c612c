#include "wake/DisplaySwitch.h"

#include "ce/Display.h"

void DisplaySwitch::SwitchOn() {
    const ce::HDC screen = ce::GetDC(nullptr);
    if (screen == nullptr) return;
    const int escape = ce::SETPOWERMANAGEMENT;
    if (ce::ExtEscape(screen, ce::QUERYESCSUPPORT, sizeof escape, reinterpret_cast<const char*>(&escape), 0,
                      nullptr) > 0) {
        const ce::VIDEO_POWER_MANAGEMENT on{sizeof(ce::VIDEO_POWER_MANAGEMENT), 1, ce::VideoPowerOn};
        ce::ExtEscape(screen, ce::SETPOWERMANAGEMENT, sizeof on, reinterpret_cast<const char*>(&on), 0, nullptr);
    }
    ce::ReleaseDC(nullptr, screen);
}
