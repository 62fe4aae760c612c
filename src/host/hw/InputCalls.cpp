// Key state and synthesised input (ce/Input.h). Input lands in the calling thread's
// message queue, where the user-interface thread would find taps and keys.

#include "ce/Input.h"
#include "ce/Time.h"
#include "host/Device.h"
#include "host/hw/InputState.h"
#include "host/window/ThreadQueues.h"

namespace ce {

namespace {

void queue(UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    host::ThreadQueues::instance().current()->post(msg);
}

}  // namespace

SHORT GetAsyncKeyState(int virtualKey) {
    const bool down = host::hw::InputState::down_virtual(virtualKey) ||
                      host::hw::InputState(host::Device::current().run_dir()).down(virtualKey);
    return down ? static_cast<SHORT>(0x8000) : SHORT{0};
}

void keybd_event(BYTE virtualKey, BYTE /*scanCode*/, DWORD flags, DWORD /*extraInfo*/) {
    host::hw::InputState keys(host::Device::current().run_dir());
    const bool up = (flags & KEYEVENTF_KEYUP) != 0;
    if (up) keys.release(virtualKey);
    else keys.press(virtualKey);
    queue(up ? WM_KEYUP : WM_KEYDOWN, virtualKey, 0);
}

void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD /*data*/, DWORD /*extraInfo*/) {
    const LPARAM position = static_cast<LPARAM>((dy & 0xFFFF) << 16 | (dx & 0xFFFF));
    if ((flags & MOUSEEVENTF_MOVE) != 0) queue(WM_MOUSEMOVE, 0, position);
    if ((flags & MOUSEEVENTF_LEFTDOWN) != 0) queue(WM_LBUTTONDOWN, 1, position);
    if ((flags & MOUSEEVENTF_LEFTUP) != 0) queue(WM_LBUTTONUP, 0, position);
}


}  // namespace ce
