#include "host/hw/Stylus.h"

#include <thread>

#include "ce/Input.h"
#include "host/hw/InputState.h"

namespace host::hw {

bool Stylus::hold(ce::HWND window, int x, int y, std::chrono::milliseconds duration) {
    const auto position =
        static_cast<ce::LPARAM>((static_cast<unsigned>(y) & 0xFFFF) << 16 | (static_cast<unsigned>(x) & 0xFFFF));
    InputState keys(run_dir_);
    // The hold ends by its deadline even if this process dies before lifting the stylus.
    if (!keys.hold(kVirtualKey, duration + std::chrono::milliseconds(50))) return false;
    if (ce::PostMessageW(window, ce::WM_LBUTTONDOWN, 0x0001, position) == ce::FALSE) {
        keys.release(kVirtualKey);
        return false;
    }
    std::this_thread::sleep_for(duration);
    keys.release(kVirtualKey);
    return ce::PostMessageW(window, ce::WM_LBUTTONUP, 0, position) != ce::FALSE;
}

}  // namespace host::hw
