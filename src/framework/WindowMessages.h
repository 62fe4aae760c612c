#pragma once
// Message numbers, notification codes and parameter packing of the window system, as the
// forms and the core use them.

#include "ce/Input.h"
#include "ce/Messages.h"

namespace framework {

using ce::LPARAM;
using ce::UINT;
using ce::WPARAM;

inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_MOUSEFIRST = 0x0200;
inline constexpr UINT WM_MOUSELAST = 0x0209;

inline constexpr WPARAM MK_LBUTTON = 0x0001;

// Notification codes carried in the high word of WM_COMMAND's wParam.
inline constexpr UINT BN_CLICKED = 0;
inline constexpr UINT EN_SETFOCUS = 0x0100;
inline constexpr UINT EN_CHANGE = 0x0300;
inline constexpr UINT LBN_SELCHANGE = 1;
inline constexpr UINT CBN_SELCHANGE = 1;

// Dialog results and the commands that close a dialog.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

constexpr WPARAM MAKEWPARAM(unsigned low, unsigned high) { return (high & 0xFFFF) << 16 | (low & 0xFFFF); }
constexpr LPARAM MAKELPARAM(int low, int high) {
    return static_cast<LPARAM>((static_cast<unsigned>(high) & 0xFFFF) << 16 | (static_cast<unsigned>(low) & 0xFFFF));
}
constexpr unsigned LOWORD(std::uintptr_t value) { return value & 0xFFFF; }
constexpr unsigned HIWORD(std::uintptr_t value) { return (value >> 16) & 0xFFFF; }
// Stylus coordinates are signed 16-bit numbers: a point dragged left of a window is negative.
constexpr int GET_X_LPARAM(LPARAM value) { return static_cast<short>(value & 0xFFFF); }
constexpr int GET_Y_LPARAM(LPARAM value) { return static_cast<short>((value >> 16) & 0xFFFF); }

}  // namespace framework
