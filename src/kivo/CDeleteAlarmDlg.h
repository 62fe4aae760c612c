#pragma once
// Asks before an alarm is deleted, offering to turn it off instead. DoModal answers
// kDelete, kTurnOff or kCancel.

#include "forms/CMainBaseDlg.h"

class CDeleteAlarmDlg : public CMainBaseDlg {
public:
    static constexpr int kDelete = 1;
    static constexpr int kCancel = 2;
    static constexpr int kTurnOff = 3;

    static constexpr int kPortrait = 1600;
    static constexpr int kLandscape = 1601;
    static constexpr int kSquare = 1602;
    static constexpr int IDC_WARNING = 1610;
    static constexpr int IDC_SUGGESTION = 1611;

    explicit CDeleteAlarmDlg(CWnd* parent);

    // Adds the form's three templates to the program's (once).
    static void RegisterTemplates();

protected:
    bool OnCommand(ce::UINT id, ce::UINT code) override;
};
