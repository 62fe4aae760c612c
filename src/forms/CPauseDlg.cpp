#include "forms/CPauseDlg.h"

#include <mutex>

#include "forms/EditField.h"
#include "forms/FormIds.h"
#include "forms/InfraredStrings.h"
#include "framework/DialogTemplate.h"
#include "framework/MessageBox.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;
using framework::ES_NUMBER;
using framework::WS_BORDER;
using framework::WS_VISIBLE;

constexpr ce::DWORD kDigit = WS_VISIBLE | WS_BORDER | ES_NUMBER;
constexpr ce::DWORD kSpin = WS_VISIBLE | framework::UDS_SETBUDDYINT;

// Portrait, and square: it fits that one too.
constexpr DialogItem kItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Add Pause", WS_VISIBLE, 8, 6, 120, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 141, 6, 10, 10},
    {CPauseDlg::IDC_PROMPT, ControlKind::Static, u"Use up/down arrows to adjust the pause time:", WS_VISIBLE, 10, 26,
     140, 20},
    {CPauseDlg::IDC_PAUSE_LABEL, ControlKind::Static, u"Pause:", WS_VISIBLE, 10, 54, 28, 10},
    {CPauseDlg::IDC_SECONDS, ControlKind::Edit, u"", kDigit, 40, 52, 14, 13},
    {CPauseDlg::IDC_POINT, ControlKind::Static, u".", WS_VISIBLE | framework::SS_CENTER, 54, 54, 6, 10},
    {CPauseDlg::IDC_TENTHS, ControlKind::Edit, u"", kDigit, 60, 52, 14, 13},
    {CPauseDlg::IDC_SPIN, ControlKind::UpDown, u"", kSpin, 76, 50, 12, 17},
    {CPauseDlg::IDC_UNIT, ControlKind::Static, u"seconds", WS_VISIBLE, 92, 54, 40, 10},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 24, 82, 50, 14},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 84, 82, 50, 14},
};

// Landscape: the title, its help button and the prompt take the wider screen.
constexpr DialogItem kLandscapeItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Add Pause", WS_VISIBLE, 8, 6, 180, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 194, 6, 10, 10},
    {CPauseDlg::IDC_PROMPT, ControlKind::Static, u"Use up/down arrows to adjust the pause time:", WS_VISIBLE, 10, 26,
     194, 10},
    {CPauseDlg::IDC_PAUSE_LABEL, ControlKind::Static, u"Pause:", WS_VISIBLE, 10, 46, 28, 10},
    {CPauseDlg::IDC_SECONDS, ControlKind::Edit, u"", kDigit, 40, 44, 14, 13},
    {CPauseDlg::IDC_POINT, ControlKind::Static, u".", WS_VISIBLE | framework::SS_CENTER, 54, 46, 6, 10},
    {CPauseDlg::IDC_TENTHS, ControlKind::Edit, u"", kDigit, 60, 44, 14, 13},
    {CPauseDlg::IDC_SPIN, ControlKind::UpDown, u"", kSpin, 76, 42, 12, 17},
    {CPauseDlg::IDC_UNIT, ControlKind::Static, u"seconds", WS_VISIBLE, 92, 46, 40, 10},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 46, 74, 50, 14},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 116, 74, 50, 14},
};

}  // namespace

void CPauseDlg::RegisterTemplates() {
    static std::once_flag once;
    std::call_once(once, [] {
        framework::DialogTemplates::Add({kTemplate, 160, 104, kItems});
        framework::DialogTemplates::Add({kLandscape, 213, 96, kLandscapeItems});
    });
}

CPauseDlg::CPauseDlg(CWnd* parent, int pause_ms)
    : CInputBaseDlg(parent, kTemplate, kLandscape, kTemplate),
      pause_ms_(pause_ms == kNewPause ? kNewPauseMs : pause_ms),
      new_pause_(pause_ms == kNewPause) {
    RegisterTemplates();
}

bool CPauseDlg::OnInitDialog() {
    CInputBaseDlg::OnInitDialog();
    if (CWnd* caption = GetDlgItem(IDC_CAPTION))
        caption->SetWindowText(InfraredStrings::Get(new_pause_ ? InfraredStrings::IDS_ADD_PAUSE : InfraredStrings::IDS_EDIT_PAUSE));
    const int seconds = pause_ms_ / 1000;
    EditField::SetNumber(GetDlgItem(IDC_SECONDS), seconds);
    EditField::SetNumber(GetDlgItem(IDC_TENTHS), (pause_ms_ - seconds * 1000) / 100);
    spinner_.Attach(this, IDC_SPIN, {IDC_SECONDS, IDC_TENTHS}, 0, 9);
    return true;
}

bool CPauseDlg::PreTranslateMessage(ce::MSG* message) {
    spinner_.Watch(*message);
    return CInputBaseDlg::PreTranslateMessage(message);
}

void CPauseDlg::OnOK() {
    const int ms = (EditField::Number(GetDlgItem(IDC_SECONDS)) * 10 + EditField::Number(GetDlgItem(IDC_TENTHS))) * 100;
    if (ms == 0) {
        framework::MessageBox(this, kNoPause, u"KIVO", framework::MB_OK | framework::MB_ICONWARNING);
        return;
    }
    pause_ms_ = ms;
    CInputBaseDlg::OnOK();
}

HelpPage CPauseDlg::GetHelpPage() const {
    return {u"Add/Edit Pause", std::u16string(InfraredStrings::Get(InfraredStrings::IDS_HELP_PAUSE))};
}
