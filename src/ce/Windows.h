#pragma once
// Top-level windows, shared by every program of the handheld: a program finds another
// program's window by its title, learns which process owns it, brings it to the
// foreground, and posts or sends it messages (ce/Messages.h). A top-level window is
// made with CreateWindowExW and no parent; windows of a process that has ended are
// never found.

#include <cstdint>

#include "ce/Messages.h"

namespace ce {

using WNDENUMPROC = BOOL (*)(HWND window, LPARAM lParam);

// The top-level window whose title is exactly `windowName` (and whose class is
// `className`, unless null), the foreground window first, then the newest. Null when
// there is none.
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);
// Calls `callback` for every top-level window in the order FindWindowW looks at them,
// until it returns FALSE.
BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam);

// Copies the title (cut to `maxCount` - 1 characters); its length, 0 for a stale handle.
int GetWindowTextW(HWND window, LPWSTR text, int maxCount);
BOOL SetWindowTextW(HWND window, LPCWSTR text);

// The window the person at the handheld is working with; null when there is none
// (or its program has ended). Making a window does not bring it to the foreground.
// A top-most window stays in front of every window that is not: bringing one that is
// not to the foreground puts it in front of the others that are not, behind the
// top-most ones, and it comes to the front when they have gone.
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND window);

inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(~std::uintptr_t{0});
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(~std::uintptr_t{1});
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
// Makes a top-level window of this process top-most (HWND_TOPMOST) or not
// (HWND_NOTOPMOST). Size and place belong to the handheld's screen: only the order is
// changed, whatever the flags say. FALSE with ERROR_NOT_SUPPORTED for any other
// `insertAfter`, ERROR_INVALID_WINDOW_HANDLE for a window that is not one of its own.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);

}  // namespace ce
