#include "alert/CMyButton.h"

#include "framework/CDC.h"
#include "framework/ControlFactory.h"
#include "framework/OwnerDrawButton.h"
#include "framework/Screen.h"

namespace {

constexpr int kDisabledWash = 55;  // percent

}  // namespace

bool CMyButton::Create(CWnd* parent, const CRect& place, int id, int up_bitmap, int pressed_bitmap) {
    if (parent == nullptr || parent->widget() == nullptr || widget() != nullptr) return false;
    up_.LoadBitmap(up_bitmap);
    pressed_.LoadBitmap(pressed_bitmap);
    auto* button = new framework::OwnerDrawButton(parent->widget());
    button->setGeometry(place.left, place.top, place.Width(), place.Height());
    button->setFocusPolicy(Qt::NoFocus);
    framework::ControlFactory::ConnectNotifications(button);
    Attach(button, id, parent, "button");
    AdoptWidget(button);
    button->show();
    return true;
}

void CMyButton::OnPaint(CDC& dc) {
    const CBitmap& picture = IsPushed() ? pressed_ : up_;
    const auto screen = framework::Screen::current();
    const CSize size = picture.GetSize();
    const CRect place{0, 0, screen.ScaleX(size.cx), screen.ScaleY(size.cy)};
    dc.StretchBlt(place, picture);
    // A button that takes no tap (Snooze while the length list is open) looks it: washed out.
    if (!IsWindowEnabled()) dc.FillTranslucentRect(place, framework::RGB(255, 255, 255), kDisabledWash);
}
