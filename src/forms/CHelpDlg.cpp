#include "forms/CHelpDlg.h"

#include <mutex>

#include "forms/CMainBaseDlg.h"
#include "forms/FormIds.h"
#include "framework/DialogTemplate.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;

constexpr ce::DWORD kText = framework::WS_VISIBLE | framework::WS_BORDER | framework::WS_VSCROLL |
                            framework::ES_MULTILINE | framework::ES_READONLY;

// The form covers the screen; its text takes the width and most of the height of each shape.
constexpr DialogItem kPortraitItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"", framework::WS_VISIBLE, 6, 4, 148, 12},
    {IDC_HELP_TEXT, ControlKind::Edit, u"", kText, 6, 20, 148, 180},
};
constexpr DialogItem kLandscapeItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"", framework::WS_VISIBLE, 6, 4, 201, 12},
    {IDC_HELP_TEXT, ControlKind::Edit, u"", kText, 6, 20, 201, 130},
};
constexpr DialogItem kSquareItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"", framework::WS_VISIBLE, 6, 4, 148, 12},
    {IDC_HELP_TEXT, ControlKind::Edit, u"", kText, 6, 20, 148, 130},
};

}  // namespace

void CHelpDlg::RegisterTemplates() {
    static std::once_flag once;
    std::call_once(once, [] {
        framework::DialogTemplates::Add({kPortrait, 139, 154, kPortraitItems});
        framework::DialogTemplates::Add({kLandscape, 182, 108, kLandscapeItems});
        framework::DialogTemplates::Add({kSquare, 139, 108, kSquareItems});
    });
}

CHelpDlg::CHelpDlg(CWnd* parent, std::u16string title, std::u16string text)
    : CBaseDlg(parent, kPortrait, kLandscape, kSquare), title_(std::move(title)), text_(std::move(text)) {
    RegisterTemplates();
    ShowDoneButton();
}

bool CHelpDlg::OnInitDialog() {
    CBaseDlg::OnInitDialog();
    if (CWnd* text = GetDlgItem(IDC_HELP_TEXT)) text->SetWindowText(text_);
    if (CWnd* caption = GetDlgItem(IDC_CAPTION)) {
        caption->SetWindowText(title_);
        CMainBaseDlg::CreateCaptionFont(&caption_font_, ScreenShape::Of(framework::Screen::current()));
        caption->SetFont(caption_font_);
    }
    text_control_.AttachToControl(IDC_HELP_TEXT, this);
    return true;
}
