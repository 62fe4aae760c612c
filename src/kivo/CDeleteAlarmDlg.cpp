#include "kivo/CDeleteAlarmDlg.h"

#include "forms/FormIds.h"
#include "framework/DialogTemplate.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;
using framework::WS_VISIBLE;

constexpr const char16_t* kCaption = u"Delete Alarm";
constexpr const char16_t* kWarning = u"All infrared signals learned for this alarm will be lost!";
constexpr const char16_t* kSuggestion = u"Maybe you want just to turn alarm off?";

constexpr DialogItem kPortraitItems[] = {
    {IDC_CAPTION, ControlKind::Static, kCaption, WS_VISIBLE, 8, 6, 140, 12},
    {CDeleteAlarmDlg::IDC_WARNING, ControlKind::Static, kWarning, WS_VISIBLE, 10, 28, 136, 30},
    {CDeleteAlarmDlg::IDC_SUGGESTION, ControlKind::Static, kSuggestion, WS_VISIBLE, 10, 62, 136, 22},
    {CDeleteAlarmDlg::kDelete, ControlKind::PushButton, u"Delete Alarm", WS_VISIBLE, 20, 92, 116, 16},
    {CDeleteAlarmDlg::kTurnOff, ControlKind::PushButton, u"Turn alarm off", WS_VISIBLE, 20, 114, 116, 16},
    {CDeleteAlarmDlg::kCancel, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 20, 136, 116, 16},
};
constexpr DialogItem kLandscapeItems[] = {
    {IDC_CAPTION, ControlKind::Static, kCaption, WS_VISIBLE, 8, 6, 190, 12},
    {CDeleteAlarmDlg::IDC_WARNING, ControlKind::Static, kWarning, WS_VISIBLE, 10, 26, 112, 40},
    {CDeleteAlarmDlg::IDC_SUGGESTION, ControlKind::Static, kSuggestion, WS_VISIBLE, 10, 70, 112, 30},
    {CDeleteAlarmDlg::kDelete, ControlKind::PushButton, u"Delete Alarm", WS_VISIBLE, 130, 28, 74, 16},
    {CDeleteAlarmDlg::kTurnOff, ControlKind::PushButton, u"Turn alarm off", WS_VISIBLE, 130, 50, 74, 16},
    {CDeleteAlarmDlg::kCancel, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 130, 72, 74, 16},
};

}  // namespace

CDeleteAlarmDlg::CDeleteAlarmDlg(CWnd* parent) : CMainBaseDlg(parent, kPortrait, kLandscape, kSquare) {}

void CDeleteAlarmDlg::RegisterTemplates() {
    framework::DialogTemplates::Add({kPortrait, 156, 160, kPortraitItems});
    framework::DialogTemplates::Add({kLandscape, 212, 110, kLandscapeItems});
    framework::DialogTemplates::Add({kSquare, 212, 110, kLandscapeItems});
}

bool CDeleteAlarmDlg::OnCommand(ce::UINT id, ce::UINT code) {
    if (id == static_cast<ce::UINT>(kTurnOff)) {
        EndDialog(kTurnOff);
        return true;
    }
    return CMainBaseDlg::OnCommand(id, code);
}
