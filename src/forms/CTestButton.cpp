#include "forms/CTestButton.h"

bool CTestButton::AttachToControl(int id, CWnd* form, Callback callback) {
    if (!SubclassDlgItem(id, form)) return false;
    callback_ = std::move(callback);
    return true;
}

void CTestButton::Press() {
    if (callback_) callback_();
}

void CTestButton::OnLButtonDown(ce::UINT /*flags*/, CPoint /*point*/) {
    armed_ = true;
    Default();
}

void CTestButton::OnLButtonUp(ce::UINT /*flags*/, CPoint point) {
    CRect client;
    GetClientRect(&client);
    const bool tapped = armed_ && IsPushed() && client.PtInRect(point);
    armed_ = false;
    // The test runs before the button comes up, so it is seen held for as long as it lasts.
    if (tapped) {
        UpdateWindow();
        Press();
    }
    Default();
}
