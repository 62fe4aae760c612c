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

// A 240-pixel wide screen is 160 dialog units across, a 320-pixel one 213.
constexpr DialogItem kPortraitItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"About KIVO", WS_VISIBLE, 8, 6, 144, 12},
    {CAboutDlg::IDC_NAME, ControlKind::Static, u"KIVO", WS_VISIBLE | SS_CENTER, 8, 40, 144, 22},
    {CAboutDlg::IDC_VERSION, ControlKind::Static, u"", WS_VISIBLE | SS_CENTER, 8, 64, 144, 10},
    {CAboutDlg::IDC_PURPOSE, ControlKind::Static, kPurpose, WS_VISIBLE | SS_CENTER, 14, 86, 132, 40},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 55, 140, 50, 14},
};
constexpr DialogItem kLandscapeItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"About KIVO", WS_VISIBLE, 8, 6, 197, 12},
    {CAboutDlg::IDC_NAME, ControlKind::Static, u"KIVO", WS_VISIBLE | SS_CENTER, 8, 26, 197, 22},
    {CAboutDlg::IDC_VERSION, ControlKind::Static, u"", WS_VISIBLE | SS_CENTER, 8, 48, 197, 10},
    {CAboutDlg::IDC_PURPOSE, ControlKind::Static, kPurpose, WS_VISIBLE | SS_CENTER, 20, 64, 173, 26},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 81, 96, 50, 14},
};
constexpr DialogItem kSquareItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"About KIVO", WS_VISIBLE, 8, 6, 144, 12},
    {CAboutDlg::IDC_NAME, ControlKind::Static, u"KIVO", WS_VISIBLE | SS_CENTER, 8, 24, 144, 22},
    {CAboutDlg::IDC_VERSION, ControlKind::Static, u"", WS_VISIBLE | SS_CENTER, 8, 46, 144, 10},
    {CAboutDlg::IDC_PURPOSE, ControlKind::Static, kPurpose, WS_VISIBLE | SS_CENTER, 14, 62, 132, 34},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 55, 100, 50, 14},
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
