#include "kivo/CAboutDlg.h"

#include <mutex>

#include "forms/FormIds.h"
#include "framework/Screen.h"
#include "framework/DialogTemplate.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;
using framework::SS_CENTER;
using framework::WS_VISIBLE;

constexpr std::u16string_view kPurpose =
    u"An alarm clock that wakes the handheld, shows a reminder, beams infrared commands to your "
    u"equipment and plays a sound.";

constexpr DialogItem kPortraitItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"About KIVO", WS_VISIBLE, 8, 6, 123, 12},
    {CAboutDlg::IDC_NAME, ControlKind::Static, u"KIVO", WS_VISIBLE | SS_CENTER, 8, 32, 123, 22},
    {CAboutDlg::IDC_VERSION, ControlKind::Static, u"", WS_VISIBLE | SS_CENTER, 8, 56, 123, 10},
    {CAboutDlg::IDC_PURPOSE, ControlKind::Static, kPurpose, WS_VISIBLE | SS_CENTER, 12, 76, 115, 40},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 45, 128, 50, 14},
};
constexpr DialogItem kLandscapeItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"About KIVO", WS_VISIBLE, 8, 6, 166, 12},
    {CAboutDlg::IDC_NAME, ControlKind::Static, u"KIVO", WS_VISIBLE | SS_CENTER, 8, 24, 166, 22},
    {CAboutDlg::IDC_VERSION, ControlKind::Static, u"", WS_VISIBLE | SS_CENTER, 8, 46, 166, 10},
    {CAboutDlg::IDC_PURPOSE, ControlKind::Static, kPurpose, WS_VISIBLE | SS_CENTER, 12, 60, 158, 26},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 66, 88, 50, 14},
};
constexpr DialogItem kSquareItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"About KIVO", WS_VISIBLE, 8, 6, 123, 12},
    {CAboutDlg::IDC_NAME, ControlKind::Static, u"KIVO", WS_VISIBLE | SS_CENTER, 8, 22, 123, 20},
    {CAboutDlg::IDC_VERSION, ControlKind::Static, u"", WS_VISIBLE | SS_CENTER, 8, 42, 123, 10},
    {CAboutDlg::IDC_PURPOSE, ControlKind::Static, kPurpose, WS_VISIBLE | SS_CENTER, 12, 54, 115, 32},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 45, 88, 50, 14},
};

}  // namespace

void CAboutDlg::RegisterTemplates() {
    static std::once_flag once;
    std::call_once(once, [] {
        framework::DialogTemplates::Add({kPortrait, 139, 154, kPortraitItems});
        framework::DialogTemplates::Add({kLandscape, 182, 108, kLandscapeItems});
        framework::DialogTemplates::Add({kSquare, 139, 108, kSquareItems});
    });
}

std::u16string CAboutDlg::VersionText() {
    const std::string_view version = KIVO_VERSION;
    return u"Version " + std::u16string(version.begin(), version.end());
}

CAboutDlg::CAboutDlg(CWnd* parent) : CMainBaseDlg(parent, kPortrait, kLandscape, kSquare) { RegisterTemplates(); }

bool CAboutDlg::OnInitDialog() {
    CMainBaseDlg::OnInitDialog();
    if (CWnd* version = GetDlgItem(IDC_VERSION)) version->SetWindowText(VersionText());
    const int scale = ScreenShape::Of(framework::Screen::current()).scale;
    name_font_.Create(u"Tahoma", 20, scale > 1 ? 600 : CFont::FW_BOLD);
    if (CWnd* name = GetDlgItem(IDC_NAME)) name->SetFont(name_font_);
    return true;
}
