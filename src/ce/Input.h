#pragma once
// The handheld's keys and stylus as the infrared engines see them: the asynchronous key
// state (shared by every process of the handheld) and the queue of input messages.

#include "ce/Types.h"

namespace ce {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;

inline constexpr UINT WM_KEYFIRST = 0x0100;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_KEYLAST = 0x0108;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;

inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

inline constexpr DWORD KEYEVENTF_KEYUP = 0x0002;
inline constexpr DWORD MOUSEEVENTF_MOVE = 0x0001;
inline constexpr DWORD MOUSEEVENTF_LEFTDOWN = 0x0002;
inline constexpr DWORD MOUSEEVENTF_LEFTUP = 0x0004;

struct POINT {
    LONG x = 0;
    LONG y = 0;
};

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt;
};

// High bit set while the key (virtual-key code) is down anywhere on the handheld: held
// by keybd_event, or by `handheld hold KEY SECONDS` for that long.
SHORT GetAsyncKeyState(int virtualKey);

// Synthesised input: keys set the shared key state and queue WM_KEYDOWN / WM_KEYUP,
// the stylus queues WM_LBUTTONDOWN / WM_LBUTTONUP / WM_MOUSEMOVE, for this process.
void keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, DWORD extraInfo);
void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, DWORD extraInfo);

// The first queued input message with a number in [filterMin, filterMax] (both 0: any),
// removed with PM_REMOVE. FALSE when there is none. `window` must be null here: input
// not yet routed to a window is the process's.
BOOL PeekMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeMessage);

}  // namespace ce
