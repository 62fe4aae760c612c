#include "forms/CCommandDlg.h"

#include <mutex>
#include <string>

#include "alarms/ComPortSetting.h"
#include "forms/CCommandOptionsDlg.h"
#include "forms/CLearnCommandDlg.h"
#include "forms/EditField.h"
#include "forms/FormIds.h"
#include "forms/InfraredStrings.h"
#include "forms/LearnOutcome.h"
#include "forms/SignalTestPasses.h"
#include "framework/DialogTemplate.h"
#include "framework/MessageBox.h"
#include "irdriver/IrDriverInstance.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;
using framework::WS_VISIBLE;

constexpr const char16_t* kHint = u"Tap 'Learn' to learn IR signal. Tap 'Advanced' to set advanced options.";
constexpr ce::DWORD kEdit = WS_VISIBLE | framework::WS_BORDER;
// The Test button holds this key down for as long as a hold-mode send would wait on it:
// the stylus (VK_LBUTTON).
constexpr int kHoldKey = 1;

constexpr DialogItem kPortraitItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Add IR Signal", WS_VISIBLE, 8, 6, 120, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 141, 6, 10, 10},
    {CCommandDlg::IDC_COMMENT_LABEL, ControlKind::Static, u"Comment:", WS_VISIBLE, 10, 26, 140, 10},
    {CCommandDlg::IDC_COMMENT, ControlKind::Edit, u"", kEdit, 10, 37, 140, 13},
    {CCommandDlg::IDC_PORT_LABEL, ControlKind::Static, u"Port:", 0, 10, 54, 30, 10},
    {CCommandDlg::IDC_PORT, ControlKind::DropDownList, u"", 0, 42, 52, 108, 13},
    {CCommandDlg::IDC_HINT, ControlKind::Static, kHint, WS_VISIBLE, 10, 58, 140, 20},
    {CCommandDlg::IDC_LEARN, ControlKind::PushButton, u"Learn", WS_VISIBLE, 10, 82, 44, 14},
    {CCommandDlg::IDC_ADVANCED, ControlKind::PushButton, u"Advanced", WS_VISIBLE, 58, 82, 44, 14},
    {CCommandDlg::IDC_TEST, ControlKind::PushButton, u"Test", WS_VISIBLE, 106, 82, 44, 14},
    {CCommandDlg::IDC_SIGNAL_STATE, ControlKind::Static, u"", WS_VISIBLE, 10, 102, 140, 20},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 24, 132, 50, 14},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 86, 132, 50, 14},
};
constexpr DialogItem kLandscapeItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Add IR Signal", WS_VISIBLE, 8, 6, 170, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 194, 6, 10, 10},
    {CCommandDlg::IDC_COMMENT_LABEL, ControlKind::Static, u"Comment:", WS_VISIBLE, 10, 26, 40, 10},
    {CCommandDlg::IDC_COMMENT, ControlKind::Edit, u"", kEdit, 52, 24, 150, 13},
    {CCommandDlg::IDC_PORT_LABEL, ControlKind::Static, u"Port:", 0, 10, 42, 40, 10},
    {CCommandDlg::IDC_PORT, ControlKind::DropDownList, u"", 0, 52, 40, 150, 13},
    {CCommandDlg::IDC_HINT, ControlKind::Static, kHint, WS_VISIBLE, 10, 42, 192, 20},
    {CCommandDlg::IDC_LEARN, ControlKind::PushButton, u"Learn", WS_VISIBLE, 10, 64, 60, 14},
    {CCommandDlg::IDC_ADVANCED, ControlKind::PushButton, u"Advanced", WS_VISIBLE, 76, 64, 60, 14},
    {CCommandDlg::IDC_TEST, ControlKind::PushButton, u"Test", WS_VISIBLE, 142, 64, 60, 14},
    {CCommandDlg::IDC_SIGNAL_STATE, ControlKind::Static, u"", WS_VISIBLE, 10, 84, 192, 20},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 50, 108, 50, 14},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 112, 108, 50, 14},
};
constexpr DialogItem kSquareItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Add IR Signal", WS_VISIBLE, 8, 6, 120, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 141, 6, 10, 10},
    {CCommandDlg::IDC_COMMENT_LABEL, ControlKind::Static, u"Comment:", WS_VISIBLE, 10, 26, 40, 10},
    {CCommandDlg::IDC_COMMENT, ControlKind::Edit, u"", kEdit, 52, 24, 98, 13},
    {CCommandDlg::IDC_PORT_LABEL, ControlKind::Static, u"Port:", 0, 10, 42, 40, 10},
    {CCommandDlg::IDC_PORT, ControlKind::DropDownList, u"", 0, 52, 40, 98, 13},
    {CCommandDlg::IDC_HINT, ControlKind::Static, kHint, WS_VISIBLE, 10, 42, 140, 20},
    {CCommandDlg::IDC_LEARN, ControlKind::PushButton, u"Learn", WS_VISIBLE, 10, 66, 44, 14},
    {CCommandDlg::IDC_ADVANCED, ControlKind::PushButton, u"Advanced", WS_VISIBLE, 58, 66, 44, 14},
    {CCommandDlg::IDC_TEST, ControlKind::PushButton, u"Test", WS_VISIBLE, 106, 66, 44, 14},
    {CCommandDlg::IDC_SIGNAL_STATE, ControlKind::Static, u"", WS_VISIBLE, 10, 84, 140, 20},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 24, 108, 50, 14},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 86, 108, 50, 14},
};

std::u16string Number(std::size_t value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

}  // namespace

void CCommandDlg::RegisterTemplates() {
    static std::once_flag once;
    std::call_once(once, [] {
        framework::DialogTemplates::Add({kPortrait, 160, 156, kPortraitItems});
        framework::DialogTemplates::Add({kLandscape, 213, 124, kLandscapeItems});
        framework::DialogTemplates::Add({kSquare, 160, 124, kSquareItems});
    });
}

CCommandDlg::CCommandDlg(CWnd* parent, int repeat_mode, int duration_ms, std::u16string comment)
    : CMainBaseDlg(parent, kPortrait, kLandscape, kSquare),
      repeat_mode_(repeat_mode),
      duration_ms_(duration_ms),
      comment_(std::move(comment)),
      edit_(false) {
    RegisterTemplates();
}

CCommandDlg::CCommandDlg(CWnd* parent, int repeat_mode, int duration_ms, std::u16string comment,
                         platform::card::signal_data signal)
    : CCommandDlg(parent, repeat_mode, duration_ms, std::move(comment)) {
    signal_ = std::move(signal);
    edit_ = true;
}

bool CCommandDlg::OnInitDialog() {
    CMainBaseDlg::OnInitDialog();
    if (CWnd* caption = GetDlgItem(IDC_CAPTION))
        caption->SetWindowText(InfraredStrings::Get(edit_ ? InfraredStrings::IDS_EDIT_SIGNAL : InfraredStrings::IDS_ADD_SIGNAL));
    CWnd* comment = GetDlgItem(IDC_COMMENT);
    EditField::Limit(comment, kCommentCharacters);
    if (comment != nullptr) comment->SetWindowText(comment_);
    port_ = ComPortSetting::Read();
    test_button_.AttachToControl(IDC_TEST, this, CTestButton::Callback(this, &CCommandDlg::Test));
    ShowSignalState();
    return true;
}

bool CCommandDlg::OnCommand(ce::UINT id, ce::UINT code) {
    switch (id) {
        case IDC_LEARN: Learn(); return true;
        case IDC_ADVANCED: ShowAdvanced(); return true;
        case IDC_TEST: return true;  // the button ran its test as it was tapped
        default: return CMainBaseDlg::OnCommand(id, code);
    }
}

void CCommandDlg::Learn() {
    CIrDrvr* driver = GetIrDriver();
    if (driver == nullptr) return;
    driver->SetPortName(port_.c_str());
    signal_ = {};
    ShowSignalState();
    CLearnCommandDlg learning(this);
    const int result = learning.DoModal();
    if (result == -1) {
        ReleaseIrDriver();
        EndDialog(-1);
        return;
    }
    if (result == CLearnCommandDlg::kLearned) {
        signal_ = learning.Learned();
        LearnOutcome::Beep();
    }
    ReleaseIrDriver();
    ShowSignalState();
}

void CCommandDlg::ShowAdvanced() {
    CCommandOptionsDlg options(this, repeat_mode_, duration_ms_);
    if (options.DoModal() != framework::IDOK) return;
    repeat_mode_ = options.RepeatMode();
    duration_ms_ = options.DurationMs();
}

void CCommandDlg::Test() {
    if (signal_.durations.empty()) return;
    CIrDrvr* driver = GetIrDriver();
    if (driver == nullptr) return;
    const int passes = SignalTestPasses::For(repeat_mode_, duration_ms_, signal_.durations, signal_.repeat_start);
    driver->SetPortName(port_.c_str());
    // As on the device, what the driver says is not shown: the equipment shows whether it worked.
    if (driver->SetSignal(signal_.durations.data(), static_cast<std::uint16_t>(signal_.durations.size()),
                          signal_.repeat_start, signal_.carrier_period) == kIrOk)
        driver->Send(static_cast<std::uint16_t>(passes), kHoldKey);
    ReleaseIrDriver();
}

void CCommandDlg::ShowSignalState() {
    CWnd* state = GetDlgItem(IDC_SIGNAL_STATE);
    if (state == nullptr) return;
    if (signal_.durations.empty()) {
        state->SetWindowText(u"No signal learned yet.");
        return;
    }
    const std::size_t count = signal_.durations.size();
    const std::size_t frame = count - std::min<std::size_t>(signal_.repeat_start, count);
    state->SetWindowText(u"Signal learned: " + Number(count) + u" marks and spaces" +
                         (frame > 0 ? u", repeating the last " + Number(frame) : u"") + u".");
}

void CCommandDlg::OnOK() {
    if (signal_.durations.empty()) {
        framework::MessageBox(this, kNoSignal, u"KIVO", framework::MB_OK | framework::MB_ICONWARNING);
        return;
    }
    if (const CWnd* comment = GetDlgItem(IDC_COMMENT)) comment_ = comment->GetWindowText();
    CMainBaseDlg::OnOK();
}

HelpPage CCommandDlg::GetHelpPage() const {
    return {u"Add/Edit IR signal", std::u16string(InfraredStrings::Get(InfraredStrings::IDS_HELP_SIGNAL))};
}
