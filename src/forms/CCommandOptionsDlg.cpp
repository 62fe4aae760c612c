#include "forms/CCommandOptionsDlg.h"

#include <mutex>

#include "forms/EditField.h"
#include "forms/FormIds.h"
#include "forms/InfraredStrings.h"
#include "forms/ItemData.h"
#include "framework/CButton.h"
#include "framework/DialogTemplate.h"
#include "framework/MessageBox.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;
using framework::WS_VISIBLE;

constexpr ce::DWORD kNumber = WS_VISIBLE | framework::WS_BORDER | framework::ES_NUMBER;
constexpr ce::DWORD kSpin = WS_VISIBLE | framework::UDS_SETBUDDYINT;
constexpr int kDefaultTimes = 3;
constexpr int kDefaultSeconds = 1;

// Portrait, and square: it fits that one too.
constexpr DialogItem kItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Advanced Options", WS_VISIBLE, 8, 6, 120, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 141, 6, 10, 10},
    {CCommandOptionsDlg::IDC_PROMPT, ControlKind::Static, u"How long repeat the IR command:", WS_VISIBLE, 10, 24, 140, 10},
    {CCommandOptionsDlg::IDC_DEFAULT, ControlKind::RadioButton, u"Default (recommended)", WS_VISIBLE | framework::WS_GROUP,
     12, 38, 136, 12},
    {CCommandOptionsDlg::IDC_REPEAT, ControlKind::RadioButton, u"Repeat", WS_VISIBLE, 12, 55, 48, 12},
    {CCommandOptionsDlg::IDC_TIMES, ControlKind::Edit, u"", kNumber, 62, 54, 18, 13},
    {CCommandOptionsDlg::IDC_TIMES_SPIN, ControlKind::UpDown, u"", kSpin, 81, 52, 12, 17},
    {CCommandOptionsDlg::IDC_TIMES_LABEL, ControlKind::Static, u"times", WS_VISIBLE, 97, 56, 40, 10},
    {CCommandOptionsDlg::IDC_REPEAT_FOR, ControlKind::RadioButton, u"Repeat for", WS_VISIBLE, 12, 74, 48, 12},
    {CCommandOptionsDlg::IDC_SECONDS, ControlKind::Edit, u"", kNumber, 62, 73, 14, 13},
    {CCommandOptionsDlg::IDC_POINT, ControlKind::Static, u".", WS_VISIBLE | framework::SS_CENTER, 76, 75, 6, 10},
    {CCommandOptionsDlg::IDC_TENTHS, ControlKind::Edit, u"", kNumber, 82, 73, 14, 13},
    {CCommandOptionsDlg::IDC_DURATION_SPIN, ControlKind::UpDown, u"", kSpin, 97, 71, 12, 17},
    {CCommandOptionsDlg::IDC_SECONDS_LABEL, ControlKind::Static, u"seconds", WS_VISIBLE, 112, 75, 40, 10},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 24, 98, 50, 14},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 84, 98, 50, 14},
};

// Landscape: the title, its help button and the prompt take the wider screen.
constexpr DialogItem kLandscapeItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Advanced Options", WS_VISIBLE, 8, 6, 180, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 194, 6, 10, 10},
    {CCommandOptionsDlg::IDC_PROMPT, ControlKind::Static, u"How long repeat the IR command:", WS_VISIBLE, 10, 24, 194, 10},
    {CCommandOptionsDlg::IDC_DEFAULT, ControlKind::RadioButton, u"Default (recommended)", WS_VISIBLE | framework::WS_GROUP,
     12, 38, 136, 12},
    {CCommandOptionsDlg::IDC_REPEAT, ControlKind::RadioButton, u"Repeat", WS_VISIBLE, 12, 55, 48, 12},
    {CCommandOptionsDlg::IDC_TIMES, ControlKind::Edit, u"", kNumber, 62, 54, 18, 13},
    {CCommandOptionsDlg::IDC_TIMES_SPIN, ControlKind::UpDown, u"", kSpin, 81, 52, 12, 17},
    {CCommandOptionsDlg::IDC_TIMES_LABEL, ControlKind::Static, u"times", WS_VISIBLE, 97, 56, 40, 10},
    {CCommandOptionsDlg::IDC_REPEAT_FOR, ControlKind::RadioButton, u"Repeat for", WS_VISIBLE, 12, 74, 48, 12},
    {CCommandOptionsDlg::IDC_SECONDS, ControlKind::Edit, u"", kNumber, 62, 73, 14, 13},
    {CCommandOptionsDlg::IDC_POINT, ControlKind::Static, u".", WS_VISIBLE | framework::SS_CENTER, 76, 75, 6, 10},
    {CCommandOptionsDlg::IDC_TENTHS, ControlKind::Edit, u"", kNumber, 82, 73, 14, 13},
    {CCommandOptionsDlg::IDC_DURATION_SPIN, ControlKind::UpDown, u"", kSpin, 97, 71, 12, 17},
    {CCommandOptionsDlg::IDC_SECONDS_LABEL, ControlKind::Static, u"seconds", WS_VISIBLE, 112, 75, 40, 10},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 46, 98, 50, 14},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 116, 98, 50, 14},
};

// The controls each way of repeating brings with it.
constexpr int kRepeatFields[] = {CCommandOptionsDlg::IDC_TIMES, CCommandOptionsDlg::IDC_TIMES_SPIN,
                                 CCommandOptionsDlg::IDC_TIMES_LABEL};
constexpr int kRepeatForFields[] = {CCommandOptionsDlg::IDC_SECONDS, CCommandOptionsDlg::IDC_POINT,
                                    CCommandOptionsDlg::IDC_TENTHS, CCommandOptionsDlg::IDC_DURATION_SPIN,
                                    CCommandOptionsDlg::IDC_SECONDS_LABEL};

}  // namespace

void CCommandOptionsDlg::RegisterTemplates() {
    static std::once_flag once;
    std::call_once(once, [] {
        framework::DialogTemplates::Add({kTemplate, 160, 120, kItems});
        framework::DialogTemplates::Add({kLandscape, 213, 120, kLandscapeItems});
    });
}

CCommandOptionsDlg::CCommandOptionsDlg(CWnd* parent, int repeat_mode, int duration_ms)
    : CInputBaseDlg(parent, kTemplate, kLandscape, kTemplate), repeat_mode_(repeat_mode), duration_ms_(duration_ms) {
    RegisterTemplates();
}

bool CCommandOptionsDlg::OnInitDialog() {
    CInputBaseDlg::OnInitDialog();
    int times = kDefaultTimes;
    int seconds = kDefaultSeconds;
    int tenths = 0;
    int radio = IDC_DEFAULT;
    if (repeat_mode_ == ItemData::kRepeatForDuration) {
        radio = IDC_REPEAT_FOR;
        seconds = duration_ms_ / 1000;
        tenths = duration_ms_ % 1000 / 100;
    } else if (repeat_mode_ != ItemData::kDefaultRepeat) {
        radio = IDC_REPEAT;
        times = repeat_mode_;
    }
    EditField::SetNumber(GetDlgItem(IDC_TIMES), times);
    EditField::SetNumber(GetDlgItem(IDC_SECONDS), seconds);
    EditField::SetNumber(GetDlgItem(IDC_TENTHS), tenths);
    times_.Attach(this, IDC_TIMES_SPIN, {IDC_TIMES}, 1, 99);
    duration_.Attach(this, IDC_DURATION_SPIN, {IDC_SECONDS, IDC_TENTHS}, 0, 9);
    Choose(radio);
    return true;
}

int CCommandOptionsDlg::Chosen() const {
    for (const int radio : {IDC_REPEAT, IDC_REPEAT_FOR})
        if (const auto* button = dynamic_cast<const CButton*>(GetDlgItem(radio)); button != nullptr && button->GetCheck())
            return radio;
    return IDC_DEFAULT;
}

void CCommandOptionsDlg::Choose(int radio) {
    for (const int id : {IDC_DEFAULT, IDC_REPEAT, IDC_REPEAT_FOR})
        if (auto* button = dynamic_cast<CButton*>(GetDlgItem(id)))
            button->SetCheck(id == radio ? CButton::BST_CHECKED : CButton::BST_UNCHECKED);
    for (const int id : kRepeatFields)
        if (CWnd* field = GetDlgItem(id)) field->EnableWindow(radio == IDC_REPEAT);
    for (const int id : kRepeatForFields)
        if (CWnd* field = GetDlgItem(id)) field->EnableWindow(radio == IDC_REPEAT_FOR);
}

bool CCommandOptionsDlg::OnCommand(ce::UINT id, ce::UINT code) {
    if (id == IDC_DEFAULT || id == IDC_REPEAT || id == IDC_REPEAT_FOR) {
        Choose(static_cast<int>(id));
        return true;
    }
    return CInputBaseDlg::OnCommand(id, code);
}

bool CCommandOptionsDlg::PreTranslateMessage(ce::MSG* message) {
    duration_.Watch(*message);
    return CInputBaseDlg::PreTranslateMessage(message);
}

void CCommandOptionsDlg::OnOK() {
    switch (Chosen()) {
        case IDC_REPEAT: {
            const int times = EditField::Number(GetDlgItem(IDC_TIMES));
            if (times == 0) {
                framework::MessageBox(this, kNoRepeat, u"KIVO", framework::MB_OK | framework::MB_ICONWARNING);
                return;
            }
            repeat_mode_ = times;
            break;
        }
        case IDC_REPEAT_FOR: {
            const int ms = (EditField::Number(GetDlgItem(IDC_SECONDS)) * 10 + EditField::Number(GetDlgItem(IDC_TENTHS))) * 100;
            if (ms == 0) {
                framework::MessageBox(this, kNoDuration, u"KIVO", framework::MB_OK | framework::MB_ICONWARNING);
                return;
            }
            duration_ms_ = ms;
            repeat_mode_ = ItemData::kRepeatForDuration;
            break;
        }
        default: repeat_mode_ = ItemData::kDefaultRepeat; break;
    }
    CInputBaseDlg::OnOK();
}

HelpPage CCommandOptionsDlg::GetHelpPage() const {
    return {u"Advanced Options", std::u16string(InfraredStrings::Get(InfraredStrings::IDS_HELP_OPTIONS))};
}
