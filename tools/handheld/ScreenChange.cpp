#include "ScreenChange.h"

#include "ce/Screen.h"
#include "ce/Windows.h"
#include "host/Device.h"

namespace handheld {

namespace {

// Every program's windows lay themselves out again on the new size and, for a new dpi,
// make their fonts and pictures for it.
ce::BOOL tell(ce::HWND window, ce::LPARAM size) {
    ce::PostMessageW(window, ce::WM_DISPLAYCHANGE, 16, size);
    return ce::TRUE;
}

}  // namespace

ExitCode change_screen(const host::ScreenSettings& screen, Console& console) {
    if (!screen.valid()) return console.usage("a screen is 1 to 4096 pixels each way, at 1 to 4096 dpi");
    auto& database = host::Device::current().database();
    if (!screen.write(database)) return console.fail("cannot write the screen settings to device.db");
    ce::EnumWindows(tell, static_cast<ce::LPARAM>((screen.height & 0xFFFF) << 16 | (screen.width & 0xFFFF)));
    console.out() << "screen " << screen.describe() << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
