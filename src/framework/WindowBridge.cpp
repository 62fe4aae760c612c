#include "framework/WindowBridge.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <QWidget>

#include "framework/CDC.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/MessageEvent.h"
#include "framework/WindowMessages.h"

namespace framework {

namespace {

// Runs one handler and tells whether it handled the event (did not call Default()).
// Handlers may run nested event loops (a modal form), so the flag is saved around them.
template <typename Handler>
bool handled_by(bool& default_called, Handler handler) {
    const bool saved = default_called;
    default_called = false;
    handler();
    const bool handled = !default_called;
    default_called = saved;
    return handled;
}

}  // namespace

WindowBridge::WindowBridge(QWidget* widget, CWnd* window) : QObject(widget), window_(window) {
    widget->installEventFilter(this);
}

WindowBridge::~WindowBridge() {
    if (window_ != nullptr) window_->WidgetGone();
}

bool WindowBridge::event(QEvent* event) {
    if (window_ == nullptr ||
        (event->type() != MessageEvent::MessageType() && event->type() != MessageEvent::InputType()))
        return QObject::event(event);
    auto* posted = static_cast<MessageEvent*>(event);
    posted->Taken();
    ce::MSG message = posted->message();
    // Stylus and key messages are offered for pre-translation once they are turned into
    // the widget's own input events (InputDispatcher), like input from a real screen.
    if (event->type() == MessageEvent::MessageType() && CWinApp::PreTranslate(window_, &message)) return true;
    posted->Answer(window_->WindowProc(message.message, message.wParam, message.lParam));
    return true;
}

bool WindowBridge::eventFilter(QObject* watched, QEvent* event) {
    if (window_ == nullptr || watched != window_->widget()) return false;
    switch (event->type()) {
        case QEvent::Paint: return Paint(window_->widget());
        case QEvent::Resize: {
            const QSize size = static_cast<QResizeEvent*>(event)->size();
            window_->WindowProc(WM_SIZE, 0, MAKELPARAM(size.width(), size.height()));
            return false;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease: return Mouse(static_cast<QMouseEvent*>(event));
        case QEvent::FocusIn: window_->OnSetFocus(); return false;
        case QEvent::FocusOut: window_->OnKillFocus(); return false;
        default: return false;
    }
}

bool WindowBridge::Paint(QWidget* widget) {
    CWnd* window = window_;
    bool painted = false;
    {
        CDC dc(widget);
        handled_by(window->default_called_, [&] { window->OnEraseBkgnd(dc); });
        painted = handled_by(window->default_called_, [&] { window->OnPaint(dc); });
    }
    return painted;
}

bool WindowBridge::Mouse(QMouseEvent* event) {
    const bool left = event->button() == Qt::LeftButton || (event->buttons() & Qt::LeftButton) != 0;
    if (!left) return false;
    const QPoint local = event->position().toPoint();
    const CPoint point{local.x(), local.y()};
    CWnd* window = window_;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return handled_by(window->default_called_, [&] { window->OnLButtonDown(MK_LBUTTON, point); });
        case QEvent::MouseMove:
            return handled_by(window->default_called_, [&] { window->OnMouseMove(MK_LBUTTON, point); });
        default: return handled_by(window->default_called_, [&] { window->OnLButtonUp(0, point); });
    }
}

}  // namespace framework
