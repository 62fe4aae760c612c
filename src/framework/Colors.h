#pragma once
// Colours as the drawing calls take them (0x00BBGGRR) and the handheld's system colours.

#include <cstdint>

namespace framework {

using COLORREF = std::uint32_t;

constexpr COLORREF RGB(int red, int green, int blue) {
    return static_cast<COLORREF>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
}
constexpr int GetRValue(COLORREF colour) { return colour & 0xFF; }
constexpr int GetGValue(COLORREF colour) { return (colour >> 8) & 0xFF; }
constexpr int GetBValue(COLORREF colour) { return (colour >> 16) & 0xFF; }

inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_STATIC = 25;

// The handheld's colour scheme: white windows and statics, a blue highlight.
COLORREF GetSysColor(int index);

}  // namespace framework
