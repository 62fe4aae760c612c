#pragma once
// Commands, child windows and private messages of the main program.

#include "ce/Types.h"

// The menu bar's commands.
inline constexpr ce::UINT ID_INFRARED_SETUP = 0x8006;
inline constexpr ce::UINT ID_HELP_KIVO = 0x8007;
inline constexpr ce::UINT ID_WELCOME = 0x8008;
inline constexpr ce::UINT ID_APP_ABOUT = 0xE140;
inline constexpr ce::UINT ID_APP_EXIT = 0xE141;

// The alarm list view's children.
inline constexpr int IDC_ALARM_LIST = 300;
inline constexpr int IDC_ADD = 302;
inline constexpr int IDC_EDIT = 303;
inline constexpr int IDC_COPY = 304;
inline constexpr int IDC_DELETE = 305;
inline constexpr int IDC_LIST_HELP = 306;
inline constexpr int IDC_CLOCK = 307;

// The list control to its view: toggle the active state of the row in wParam.
inline constexpr ce::UINT WM_TOGGLE_ACTIVE = 0x0400 + 312;
static_assert(WM_TOGGLE_ACTIVE == 0x0538);
