#pragma once
// The stylus on the handheld's touch screen, as `handheld tap` and `hold` work it: the
// stylus is down on the shared key state (VK_LBUTTON, seen by GetAsyncKeyState in every
// process) for as long as it is held, independently of whether the window's thread is
// free to take the messages; the window gets WM_LBUTTONDOWN at the start and
// WM_LBUTTONUP at the end, at a point in its client coordinates.

#include <chrono>
#include <filesystem>

#include "ce/Messages.h"

namespace host::hw {

class Stylus {
public:
    static constexpr int kVirtualKey = 0x01;  // VK_LBUTTON

    explicit Stylus(std::filesystem::path run_dir) : run_dir_(std::move(run_dir)) {}

    // Presses at (x, y), keeps it down for `duration`, lifts it there. False when the
    // window is gone or the key state cannot be written.
    bool hold(ce::HWND window, int x, int y, std::chrono::milliseconds duration);

private:
    std::filesystem::path run_dir_;
};

}  // namespace host::hw
