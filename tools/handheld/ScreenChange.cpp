#include "ScreenChange.h"

#include "ce/Screen.h"
#include "ce/Windows.h"
#include "host/Device.h"

namespace handheld {

namespace {

ce::BOOL tell(ce::HWND window, ce::LPARAM size) {
    ce::PostMessageW(window, ce::WM_DISPLAYCHANGE, 16, size);
    return ce::TRUE;
}

}  // namespace

ExitCode change_screen(const host::ScreenSettings& screen, Console& console) {
    if (!screen.valid()) return console.usage("a screen is 1 to 4096 pixels each way, at 1 to 4096 dpi");
    if (!screen.write(host::Device::current().database()))
        return console.fail("cannot write the screen settings to device.db");
    const auto size = static_cast<ce::LPARAM>((screen.height & 0xFFFF) << 16 | (screen.width & 0xFFFF));
    ce::EnumWindows(tell, size);
    console.out() << "screen " << screen.describe() << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
