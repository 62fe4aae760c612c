#pragma once
// Dialog templates: a form's controls by id, kind, text, style and rectangle in dialog
// units, one template per screen shape. The programs add theirs at start-up; a form is
// built from, and re-laid out by, the template of the shape of the screen.

#include <span>
#include <string_view>

#include "ce/Types.h"

namespace framework {

enum class ControlKind {
    Static,
    Edit,
    PushButton,
    CheckBox,
    RadioButton,
    OwnerDrawButton,
    GroupBox,
    ListBox,
    DropDownList,
    UpDown,
    ReportList,
    TreeView,
    ScrollBar,
    Window,  // a plain window the form draws itself
};

// Window styles the templates use (the window system's own values).
inline constexpr ce::DWORD WS_VISIBLE = 0x10000000;
inline constexpr ce::DWORD WS_DISABLED = 0x08000000;
inline constexpr ce::DWORD WS_BORDER = 0x00800000;
inline constexpr ce::DWORD WS_VSCROLL = 0x00200000;
inline constexpr ce::DWORD WS_GROUP = 0x00020000;
// A check box drawn as a button that stays pushed in while checked.
inline constexpr ce::DWORD BS_PUSHLIKE = 0x1000;
inline constexpr ce::DWORD SS_CENTER = 0x0001;
inline constexpr ce::DWORD SS_RIGHT = 0x0002;
inline constexpr ce::DWORD ES_MULTILINE = 0x0004;
inline constexpr ce::DWORD ES_READONLY = 0x0800;
inline constexpr ce::DWORD ES_NUMBER = 0x2000;
inline constexpr ce::DWORD UDS_WRAP = 0x0001;
inline constexpr ce::DWORD UDS_SETBUDDYINT = 0x0002;
inline constexpr ce::DWORD UDS_AUTOBUDDY = 0x0010;
inline constexpr ce::DWORD SBS_VERT = 0x0001;

struct DialogItem {
    int id;
    ControlKind kind;
    std::u16string_view text;
    ce::DWORD style;
    int x, y, cx, cy;  // dialog units
};

struct DialogTemplate {
    int id;
    int cx, cy;  // dialog units
    std::span<const DialogItem> items;
};

class DialogTemplates {
public:
    // Adds (or replaces) a template; the items must outlive the program (static tables).
    static void Add(const DialogTemplate& dialog);
    // Null when the program holds no template of that number.
    static const DialogTemplate* Find(int id);
};

const char* KindName(ControlKind kind);

}  // namespace framework
