#pragma once
// The handheld's screen as programs see it: its size in pixels, its dots per inch and the
// state of the input panel. All three are handheld settings, so every process agrees on
// them and `handheld rotate` changes them for everyone.

#include "ce/Messages.h"

namespace ce {

inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
// Width and height of the screen in pixels as it is turned now; 0 for any other index.
int GetSystemMetrics(int index);

inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;
// Dots per inch of the screen (the only device context there is here); 0 for any other index.
int GetScreenDeviceCaps(int index);

// Sent to every top-level window when the screen is turned: lParam holds the new width
// (low word) and height (high word), wParam the bits per pixel.
inline constexpr UINT WM_DISPLAYCHANGE = 0x007E;

inline constexpr DWORD SIPF_ON = 0x00000001;
inline constexpr DWORD SIPF_DOCKED = 0x00000002;

struct SIPINFO {
    DWORD cbSize = sizeof(SIPINFO);
    DWORD fdwFlags = 0;
};

// The input panel's flags; FALSE with ERROR_INVALID_PARAMETER when cbSize is wrong.
BOOL SipGetInfo(SIPINFO* info);

}  // namespace ce
