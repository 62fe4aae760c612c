#include "framework/InputFilter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/InputDispatcher.h"
#include "framework/WindowMessages.h"

namespace framework {

namespace {

ce::UINT message_of(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: return ce::WM_LBUTTONDOWN;
        case QEvent::MouseMove: return ce::WM_MOUSEMOVE;
        case QEvent::MouseButtonRelease: return ce::WM_LBUTTONUP;
        case QEvent::KeyPress: return ce::WM_KEYDOWN;
        case QEvent::KeyRelease: return ce::WM_KEYUP;
        default: return 0;
    }
}

// The window an event for this widget belongs to: the widget's own, or the nearest
// window around a part of a control (a list's viewport belongs to the list).
CWnd* window_of(QWidget* widget, QPoint* point) {
    for (QWidget* part = widget; part != nullptr; part = part->parentWidget()) {
        if (CWnd* window = CWnd::FromWidget(part)) return window;
        if (point != nullptr) *point = part->mapToParent(*point);
    }
    return nullptr;
}

}  // namespace

bool InputFilter::eventFilter(QObject* watched, QEvent* event) {
    const ce::UINT message = message_of(event->type());
    if (message == 0 || !watched->isWidgetType()) return false;
    ce::MSG msg{nullptr, message, 0, 0, 0};
    QPoint point;
    if (message == ce::WM_KEYDOWN || message == ce::WM_KEYUP) {
        msg.wParam = InputDispatcher::VirtualKeyOf(static_cast<QKeyEvent*>(event)->key());
    } else {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton && (mouse->buttons() & Qt::LeftButton) == 0) return false;
        point = mouse->position().toPoint();
        msg.wParam = message == ce::WM_LBUTTONUP ? 0 : MK_LBUTTON;
    }
    CWnd* window = window_of(static_cast<QWidget*>(watched), &point);
    if (window == nullptr) return false;
    msg.hwnd = window->GetSafeHwnd();
    if (message != ce::WM_KEYDOWN && message != ce::WM_KEYUP) msg.lParam = MAKELPARAM(point.x(), point.y());
    return CWinApp::PreTranslate(window, &msg);
}

}  // namespace framework
