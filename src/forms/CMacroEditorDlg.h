#pragma once
// "Infrared Signals": the editor of an alarm's command list. Signals are added (learned
// in the signal form) and pauses inserted after the selected line, lines are edited,
// copied, deleted and moved, and Test beams the whole list through the chosen port.
// Each line holds its own copy of its item; OK hands the lines back to the caller's
// array in list order, Cancel leaves that array as it was.

#include "forms/CMainBaseDlg.h"
#include "forms/CTestButton.h"
#include "forms/ItemData.h"
#include "framework/CListBox.h"

class CMacroEditorDlg : public CMainBaseDlg {
public:
    // Templates for the portrait, landscape and square screens.
    static constexpr int kPortrait = 533;
    static constexpr int kLandscape = 668;
    static constexpr int kSquare = 670;

    static constexpr int IDC_IR = 2017;
    static constexpr int IDC_PAUSE = 2018;
    static constexpr int IDC_EDIT = 2019;
    static constexpr int IDC_COPY = 2020;
    static constexpr int IDC_DELETE = 2021;
    static constexpr int IDC_UP = 2022;
    static constexpr int IDC_DOWN = 2023;
    static constexpr int IDC_LIST = 2024;
    static constexpr int IDC_TEST = 2108;

    // DoModal: IDOK (the array refilled), IDCANCEL (untouched), or -1 when the form, or
    // the signal form it opened, could not be shown.
    CMacroEditorDlg(CWnd* parent, ItemDataArr& items);

    // Adds the form's three templates to the program's (once).
    static void RegisterTemplates();

    // The lines as they stand, in list order.
    const ItemDataArr& Lines() const { return lines_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(ce::UINT id, ce::UINT code) override;
    void OnOK() override;
    HelpPage GetHelpPage() const override;

private:
    void AddSignal();
    void AddPause();
    void EditLine();
    void CopyLine();
    void DeleteLine();
    void MoveLine(int delta);
    void RunTest();
    // The selected line, or -1 after telling the user nothing is selected.
    int SelectedLine();
    // Where a new line goes: after the selection, else at the end.
    int InsertionPoint() const;
    void InsertLine(int index, ItemData item);
    void ReplaceLine(int index, ItemData item);
    void ShowLines(int selected);

    ItemDataArr& items_;
    ItemDataArr lines_;
    CListBox list_;
    CTestButton test_button_;
};
