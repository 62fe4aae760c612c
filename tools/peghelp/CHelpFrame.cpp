#include "CHelpFrame.h"

#include <array>

#include "ce/Input.h"
#include "ce/Messages.h"

namespace {

constexpr std::array<MenuItem, 3> kViewItems{{
    {u"Back", CHelpFrame::kBack},
    {u"", 0},
    {u"Close", CHelpFrame::kClose},
}};
constexpr std::array<MenuDefinition, 1> kMenus{{{u"View", kViewItems}}};

constexpr ce::WPARAM kBackKey = 0x08;
constexpr ce::WPARAM kEscape = 0x1B;

}  // namespace

bool CHelpFrame::Create() {
    view_ = new CHelpView;
    if (!CFrameWnd::Create(kTitle, view_)) return false;
    return CreateMenuBar(kMenus);
}

bool CHelpFrame::OnCommand(ce::UINT id, ce::UINT /*code*/) {
    if (id == kBack) {
        page().GoBack();
        return true;
    }
    if (id == kClose) {
        PostMessage(ce::WM_CLOSE);
        return true;
    }
    return false;
}

void CHelpFrame::OnInitMenuPopup(int /*index*/) { EnableMenuItem(kBack, page().CanGoBack()); }

bool CHelpFrame::PreTranslateMessage(ce::MSG* message) {
    if (message->message != ce::WM_KEYDOWN) return false;
    if (message->wParam == kBackKey) page().GoBack();
    else if (message->wParam == kEscape) PostMessage(ce::WM_CLOSE);
    else return false;
    return true;
}
