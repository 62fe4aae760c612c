#include "ScreenChange.h"

#include "ce/Screen.h"
#include "ce/Windows.h"
#include "host/Device.h"

namespace handheld {

namespace {

struct Told {
    ce::LPARAM size;
    int windows = 0;
};

ce::BOOL tell(ce::HWND window, ce::LPARAM told) {
    auto& what = *reinterpret_cast<Told*>(told);
    ce::PostMessageW(window, ce::WM_DISPLAYCHANGE, 16, what.size);
    ++what.windows;
    return ce::TRUE;
}

}  // namespace

ExitCode change_screen(const host::ScreenSettings& screen, Console& console) {
    if (!screen.valid()) return console.usage("a screen is 1 to 4096 pixels each way, at 1 to 4096 dpi");
    auto& database = host::Device::current().database();
    const int dpi_before = host::ScreenSettings::read(database).dpi;
    if (!screen.write(database)) return console.fail("cannot write the screen settings to device.db");
    Told told{static_cast<ce::LPARAM>((screen.height & 0xFFFF) << 16 | (screen.width & 0xFFFF))};
    ce::EnumWindows(tell, reinterpret_cast<ce::LPARAM>(&told));
    console.out() << "screen " << screen.describe() << '\n';
    // A handheld's dpi never changes while it runs: programs make their fonts and pictures
    // for it once, and lay out only their places on the new size.
    if (told.windows > 0 && dpi_before != screen.dpi)
        console.out() << "programs already running keep the text and pictures they made at " << dpi_before
                      << " dpi; start them again to draw them at " << screen.dpi << " dpi\n";
    return ExitCode::ok;
}

}  // namespace handheld
