#pragma once
// The handheld's keys and stylus as the infrared engines see them: the asynchronous key
// state (shared by every process of the handheld) and the queue of input messages.

#include "ce/Messages.h"

namespace ce {

inline constexpr UINT WM_KEYFIRST = 0x0100;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_KEYLAST = 0x0108;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;

inline constexpr DWORD KEYEVENTF_KEYUP = 0x0002;
inline constexpr DWORD MOUSEEVENTF_MOVE = 0x0001;
inline constexpr DWORD MOUSEEVENTF_LEFTDOWN = 0x0002;
inline constexpr DWORD MOUSEEVENTF_LEFTUP = 0x0004;

// High bit set while the key (virtual-key code) is down anywhere on the handheld: held
// by keybd_event, or by `handheld hold KEY SECONDS` for that long.
SHORT GetAsyncKeyState(int virtualKey);

// Synthesised input: keys set the shared key state and queue WM_KEYDOWN / WM_KEYUP,
// the stylus queues WM_LBUTTONDOWN / WM_LBUTTONUP / WM_MOUSEMOVE, on the calling thread.
void keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, DWORD extraInfo);
void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, DWORD extraInfo);

// The queued input is taken with PeekMessageW (ce/Messages.h) on the same thread.

}  // namespace ce
