#include "forms/CHelpButton.h"

#include <algorithm>

#include "framework/CDC.h"
#include "framework/Screen.h"
#include "framework/WindowMessages.h"

CHelpButton::CHelpButton() {
    up_bitmap_.LoadBitmap(kUpBitmap);
    pressed_bitmap_.LoadBitmap(kPressedBitmap);
}

bool CHelpButton::AttachToControl(int id, CWnd* form, int scale) {
    if (!SubclassDlgItem(id, form)) return false;
    CRect place;
    GetWindowRectInParent(&place);
    const CSize size = up_bitmap_.GetSize();
    MoveWindow({place.left, place.top, place.left + size.cx * scale, place.top + size.cy * scale});
    return true;
}

bool CHelpButton::Inside(CPoint point) const {
    CRect client;
    GetClientRect(&client);
    return client.PtInRect(point);
}

void CHelpButton::OnPaint(CDC& dc) {
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, framework::GetSysColor(framework::COLOR_STATIC));
    // At the bitmap's own size for the screen, in the middle of a place a form made
    // larger (a 24-pixel tap target): stretched further it would be blocky.
    const CBitmap& bitmap = up_ ? up_bitmap_ : pressed_bitmap_;
    const auto screen = framework::Screen::current();
    const int width = std::min(client.Width(), screen.ScaleX(bitmap.GetSize().cx));
    const int height = std::min(client.Height(), screen.ScaleY(bitmap.GetSize().cy));
    const int left = (client.Width() - width) / 2;
    const int top = (client.Height() - height) / 2;
    dc.TransparentBlt({left, top, left + width, top + height}, bitmap, framework::RGB(0, 255, 0));
}

void CHelpButton::OnLButtonDown(ce::UINT /*flags*/, CPoint /*point*/) {
    up_ = false;
    UpdateWindow();
    SetCapture();
}

void CHelpButton::OnMouseMove(ce::UINT /*flags*/, CPoint point) {
    if (GetCapture() != this) return;
    const bool up = !Inside(point);
    if (up == up_) return;
    up_ = up;
    UpdateWindow();
}

void CHelpButton::OnLButtonUp(ce::UINT /*flags*/, CPoint point) {
    if (GetCapture() != this) return;
    ReleaseCapture();
    up_ = true;
    UpdateWindow();
    if (Inside(point) && GetParent() != nullptr)
        GetParent()->SendMessage(framework::WM_COMMAND,
                                 framework::MAKEWPARAM(static_cast<unsigned>(GetDlgCtrlID()), framework::BN_CLICKED),
                                 reinterpret_cast<ce::LPARAM>(GetSafeHwnd()));
}
