#pragma once
// Controls every form of the common base shares.

inline constexpr int IDC_CAPTION = 2100;
inline constexpr int IDC_SUBCAPTION = 2101;
inline constexpr int IDC_HELP_BUTTON = 2107;
inline constexpr int IDC_HELP_TEXT = 2035;
