// The screen calls of the platform interface over the handheld's screen settings.

#include "ce/Screen.h"
#include "host/Device.h"
#include "host/screen/ScreenSettings.h"

namespace ce {

namespace {

host::ScreenSettings screen() { return host::ScreenSettings::read(host::Device::current().database()); }

}  // namespace

int GetSystemMetrics(int index) {
    if (index == SM_CXSCREEN) return screen().width;
    if (index == SM_CYSCREEN) return screen().height;
    return 0;
}

int GetScreenDeviceCaps(int index) { return index == LOGPIXELSX || index == LOGPIXELSY ? screen().dpi : 0; }

BOOL SipGetInfo(SIPINFO* info) {
    if (info == nullptr || info->cbSize != sizeof(SIPINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->fdwFlags = screen().input_panel;
    return TRUE;
}

}  // namespace ce
