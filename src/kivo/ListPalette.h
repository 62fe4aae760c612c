#pragma once
// The main window's colours, shared by the clock, the list and the buttons.

#include "framework/Colors.h"

namespace kivo_palette {

using framework::RGB;

inline constexpr framework::COLORREF kInk = RGB(28, 36, 48);
inline constexpr framework::COLORREF kMuted = RGB(150, 158, 170);
inline constexpr framework::COLORREF kRule = RGB(222, 226, 232);
inline constexpr framework::COLORREF kAccent = RGB(232, 128, 20);      // the reminder's orange
inline constexpr framework::COLORREF kNight = RGB(22, 42, 74);         // the clock panel
inline constexpr framework::COLORREF kNightLight = RGB(44, 78, 128);
inline constexpr framework::COLORREF kClockText = RGB(255, 255, 255);
inline constexpr framework::COLORREF kClockDim = RGB(168, 190, 224);
inline constexpr framework::COLORREF kButtonFace = RGB(240, 242, 246);
inline constexpr framework::COLORREF kButtonPushed = RGB(204, 214, 230);
inline constexpr framework::COLORREF kButtonEdge = RGB(176, 186, 202);

}  // namespace kivo_palette
