#pragma once
// KIVO's main window: the alarm list view above the menu bar (Options, Preferences).
// Its title "KIVO" is how Alert and the setup library find it; Alert's change signal
// reaches the list through it.

#include "framework/CFrameWnd.h"
#include "framework/CView.h"

class CMainFrame : public CFrameWnd {
public:
    // Creates the window titled "KIVO" with the alarm list as its view.
    bool Create();

protected:
    int OnCreate() override;
    void OnInitMenuPopup(int index) override;
    bool OnCommand(ce::UINT id, ce::UINT code) override;
    ce::LRESULT WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) override;
};
