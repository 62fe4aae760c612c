#pragma once
// How `handheld ui`, `handheld screenshot` and the programs' windows talk: the tool posts
// one of these messages to the foreground window with a request number; the program
// does what a user at the screen would, then writes its reply as files under the
// handheld's \Temp\ui folder (hidden and system), named after the request: "<n>.out"
// (first line "ok" or "error: why", then the answer), plus "<n>.png" for a screenshot.
// A text to type comes in "<n>.in". The reply is written to a temporary name and
// renamed, so the tool never reads half of it. This header is free of Qt, for the tool.

#include <string>

#include "ce/Types.h"

namespace framework::automation {

inline constexpr ce::UINT WM_UI_DUMP = 0xBF00;        // wParam request; lParam 1 for JSON
inline constexpr ce::UINT WM_UI_SCREENSHOT = 0xBF01;  // wParam request
inline constexpr ce::UINT WM_UI_CLICK = 0xBF02;       // wParam request; lParam control id
inline constexpr ce::UINT WM_UI_SET = 0xBF03;         // wParam request; lParam control id
inline constexpr ce::UINT WM_UI_SELECT = 0xBF04;      // wParam request; lParam id (low word), index (high word)
inline constexpr ce::UINT WM_UI_SPIN = 0xBF05;        // wParam request; lParam id (low word), signed steps (high word)

inline constexpr const char16_t* kFolder = u"\\Temp\\ui";

inline std::u16string ReplyPath(unsigned long request, const char16_t* suffix) {
    std::u16string path = kFolder;
    path += u'\\';
    for (const char c : std::to_string(request)) path += static_cast<char16_t>(c);
    return path + suffix;
}

}  // namespace framework::automation
