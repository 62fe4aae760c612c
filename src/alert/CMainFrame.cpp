#include "alert/CMainFrame.h"

#include "alarms/AlarmMessages.h"
#include "alert/CChildView.h"

bool CMainFrame::Create() {
    // Titled from the start: a wake event during the firing then finds this window and
    // waits in its queue, rather than starting a second reminder.
    // Top-most: KIVO or the help viewer opened while the alarm rings must not cover
    // the reminder and its Dismiss button.
    if (!CFrameWnd::Create(kTitle, new CChildView) || !SetTopMost(true)) return false;
    // Re-fires alike ask for one ring: a flood of them must not keep Dismiss from being tapped.
    CoalescePosted(WM_ALERT_REFIRE);
    return true;
}

ce::LRESULT CMainFrame::WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) {
    if (message == WM_ALERT_REFIRE) {
        if (CView* view = GetActiveView(); view != nullptr && view->GetSafeHwnd() != nullptr)
            view->SendMessage(message, wParam, lParam);
        return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

void CMainFrame::OnSetFocus() {
    if (CView* view = GetActiveView(); view != nullptr) view->SetFocus();
}
