#pragma once
// Top-level windows, shared by every program of the handheld: a program finds another
// program's window by its title, learns which process owns it, brings it to the
// foreground, and posts or sends it messages (ce/Messages.h). A top-level window is
// made with CreateWindowExW and no parent; windows of a process that has ended are
// never found.

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
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND window);

}  // namespace ce
