#include "forms/CMoreOptionsDlg.h"

#include <array>
#include <mutex>

#include "ce/Text.h"
#include "forms/DesignPlaces.h"
#include "forms/FormIds.h"
#include "forms/HelpStrings.h"
#include "framework/CButton.h"
#include "framework/CListBox.h"
#include "framework/DialogTemplate.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;
using framework::WS_VISIBLE;

constexpr int IDC_SNOOZE_GROUP = 2341;
constexpr int IDC_PLAY_AGAIN_LABEL = 2342;
constexpr int IDC_LATER_LABEL = 2344;
constexpr int IDC_INFO_LABEL = 2345;
constexpr int kListItemsShown = 8;
constexpr int kDefaultIndex = 3;  // 5 minutes
constexpr std::array<int, 8> kReplayMinutes{1, 2, 3, 5, 10, 15, 20, 30};

constexpr const char16_t* kTitle = u"Alarm Options, More...";
constexpr const char16_t* kHelpTitle = u"Alarm Options, More \u2026";

// Rectangles here are only where the controls are made; Layout places them.
constexpr DialogItem kItems[] = {
    {IDC_CAPTION, ControlKind::Static, kTitle, WS_VISIBLE, 4, 3, 128, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 143, 2, 16, 16},
    {IDC_SNOOZE_GROUP, ControlKind::GroupBox, u"Snooze:", WS_VISIBLE, 4, 22, 154, 60},
    {IDC_PLAY_AGAIN_LABEL, ControlKind::Static, u"Play again at", WS_VISIBLE, 10, 36, 50, 10},
    {CMoreOptionsDlg::IDC_REPLAY, ControlKind::DropDownList, u"", WS_VISIBLE, 62, 34, 40, 12},
    {IDC_LATER_LABEL, ControlKind::Static, u"later.", WS_VISIBLE, 106, 36, 30, 10},
    {CMoreOptionsDlg::IDC_NO_BEAM, ControlKind::CheckBox, u"Do not beam infrared signals", WS_VISIBLE, 10, 54, 140, 12},
    {IDC_INFO_LABEL, ControlKind::Static, u"For more information, tap (i) button.", WS_VISIBLE, 4, 90, 154, 20},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 2, 150, 50, 14},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 55, 150, 50, 14},
};

// In design pixels: landscape, portrait, square.
constexpr ControlPlace kPlaces[] = {
    {framework::IDOK, {3, 160, 75, 22}, {3, 232, 75, 22}, {3, 158, 75, 22}},
    {framework::IDCANCEL, {84, 160, 75, 22}, {84, 232, 75, 22}, {84, 158, 75, 22}},
    {IDC_HELP_BUTTON, {294, 3, 24, 24}, {214, 3, 24, 24}, {214, 3, 24, 24}},
    {IDC_CAPTION, {10, 8, 280, 20}, {10, 8, 200, 20}, {10, 8, 200, 20}},
    {IDC_SNOOZE_GROUP, {10, 36, 300, 84}, {10, 36, 220, 84}, {10, 36, 220, 84}},
    {IDC_PLAY_AGAIN_LABEL, {18, 61, 80, 18}, {18, 61, 80, 18}, {18, 61, 80, 18}},
    {CMoreOptionsDlg::IDC_REPLAY, {100, 58, 64, 21}, {100, 58, 64, 21}, {100, 58, 64, 21}},
    {IDC_LATER_LABEL, {170, 61, 50, 18}, {170, 61, 50, 18}, {170, 61, 50, 18}},
    {CMoreOptionsDlg::IDC_NO_BEAM, {18, 90, 280, 20}, {18, 90, 205, 20}, {18, 90, 205, 20}},
    {IDC_INFO_LABEL, {10, 128, 300, 20}, {10, 128, 220, 36}, {10, 128, 220, 20}},
};

std::u16string minutes_text(int minutes) { return ce::utf16_from_utf8(std::to_string(minutes)) + u" min"; }

}  // namespace

void CMoreOptionsDlg::RegisterTemplates() {
    static std::once_flag once;
    std::call_once(once, [] { framework::DialogTemplates::Add({kTemplate, 162, 164, kItems}); });
}

CMoreOptionsDlg::CMoreOptionsDlg(CWnd* parent) : CMainBaseDlg(parent, kTemplate, kTemplate, kTemplate) {
    RegisterTemplates();
}

bool CMoreOptionsDlg::OnInitDialog() {
    CMainBaseDlg::OnInitDialog();
    SetWindowText(kTitle);
    auto* replay = dynamic_cast<CComboBox*>(GetDlgItem(IDC_REPLAY));
    int chosen = kDefaultIndex;
    for (std::size_t index = 0; index < kReplayMinutes.size(); ++index) {
        replay->AddString(minutes_text(kReplayMinutes[index]));
        if (kReplayMinutes[index] == replay_minutes_) chosen = static_cast<int>(index);
    }
    replay->SetCurSel(chosen);
    replay->SetDropDownItems(kListItemsShown);
    dynamic_cast<CButton*>(GetDlgItem(IDC_NO_BEAM))->SetCheck(beam_on_repeats_ == 0 ? CButton::BST_CHECKED : CButton::BST_UNCHECKED);
    Layout();
    return true;
}

void CMoreOptionsDlg::OnSize(ce::UINT type, int cx, int cy) {
    CMainBaseDlg::OnSize(type, cx, cy);
    Layout();
}

void CMoreOptionsDlg::Layout() {
    if (widget() != nullptr) DesignPlaces::Apply(*this, kPlaces);
}

void CMoreOptionsDlg::OnOK() {
    beam_on_repeats_ = dynamic_cast<CButton*>(GetDlgItem(IDC_NO_BEAM))->GetCheck() == CButton::BST_CHECKED ? 0 : 1;
    const int index = dynamic_cast<CComboBox*>(GetDlgItem(IDC_REPLAY))->GetCurSel();
    replay_minutes_ = index >= 0 && index < static_cast<int>(kReplayMinutes.size())
                          ? kReplayMinutes[static_cast<std::size_t>(index)]
                          : kDefaultReplayMinutes;
    EndDialog(framework::IDOK);
}

HelpPage CMoreOptionsDlg::GetHelpPage() const { return {kHelpTitle, HelpStrings::Text(IDS_HELP)}; }
