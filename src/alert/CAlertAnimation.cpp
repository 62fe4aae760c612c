#include "alert/CAlertAnimation.h"

#include "framework/CDC.h"
#include "framework/Screen.h"

bool CAlertAnimation::Create(CWnd* parent, const CRect& place) {
    if (!CWnd::Create(parent, place, kId)) return false;
    SetTimer(kTimer, kPeriodMs);
    return true;
}

void CAlertAnimation::Ring(bool ringing) {
    if (ringing) {
        SetTimer(kTimer, kPeriodMs);
        return;
    }
    KillTimer(kTimer);
    frame_ = kFirstFrame;
    UpdateWindow();
}

void CAlertAnimation::OnTimer(ce::UINT_PTR id) {
    if (id != kTimer) return;
    frame_ = frame_ >= kLastFrame ? kFirstFrame : frame_ + 1;
    UpdateWindow();
}

void CAlertAnimation::OnPaint(CDC& dc) {
    CBitmap& picture = pictures_[static_cast<std::size_t>(frame_ - kFirstFrame)];
    if (!picture.IsLoaded() && !picture.LoadBitmap(frame_)) return;
    const auto screen = framework::Screen::current();
    const CSize size = picture.GetSize();
    dc.StretchBlt({0, 0, screen.ScaleX(size.cx), screen.ScaleY(size.cy)}, picture);
}
