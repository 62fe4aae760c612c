#pragma once
// The reminder's frame: full screen and above every other window, titled "KIVOAlert" so
// the wake program finds it, with the reminder view as its only child. A wake event that
// arrives while it is open (WM_ALERT_REFIRE) goes on to the view at once.

#include "framework/CFrameWnd.h"
#include "framework/CView.h"

class CMainFrame : public CFrameWnd {
public:
    static constexpr const char16_t* kTitle = u"KIVOAlert";

    // The frame with its reminder view; the view fires the alarm as it is created.
    bool Create();

protected:
    ce::LRESULT WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) override;
    void OnSetFocus() override;
};
