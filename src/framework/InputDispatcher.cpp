#include "framework/InputDispatcher.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include "ce/Input.h"
#include "framework/CWnd.h"
#include "framework/MessageEvent.h"
#include "framework/WindowMessages.h"

namespace framework {

namespace {

// The control that took the stylus down keeps it until it comes up, as on a touch screen.
QPointer<QWidget> g_pressed;

struct KeyPair {
    ce::WPARAM virtual_key;
    int qt_key;
};

constexpr KeyPair kKeys[] = {{0x08, Qt::Key_Backspace}, {0x09, Qt::Key_Tab},   {0x0D, Qt::Key_Return},
                             {0x1B, Qt::Key_Escape},    {0x20, Qt::Key_Space}, {0x25, Qt::Key_Left},
                             {0x26, Qt::Key_Up},        {0x27, Qt::Key_Right}, {0x28, Qt::Key_Down}};

QWidget* widget_under(QWidget* top, QPoint point) {
    QWidget* child = top->childAt(point);
    return child != nullptr ? child : top;
}

// A tap puts the focus into the control that takes it by a click (or the nearest one
// around it), as the window system does for a stylus; Qt does it only for the input of
// a real screen.
void take_focus(QWidget* target) {
    for (QWidget* widget = target; widget != nullptr; widget = widget->parentWidget()) {
        if ((widget->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus) {
            widget->setFocus(Qt::MouseFocusReason);
            return;
        }
        if (widget->isWindow()) return;
    }
}

void deliver_stylus(CWnd* window, const ce::MSG& message) {
    QWidget* top = window->widget();
    const QPoint global = top->mapToGlobal(QPoint(GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)));
    QWidget* target = nullptr;
    if (CWnd* capture = CWnd::GetCapture(); capture != nullptr && capture->widget() != nullptr)
        target = capture->widget();
    else if (message.message != ce::WM_LBUTTONDOWN && g_pressed != nullptr)
        target = g_pressed;
    else
        target = widget_under(top, top->mapFromGlobal(global));
    // A disabled control takes no stylus, and neither does the form beneath it.
    if (!target->isEnabled()) return;
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton button = Qt::NoButton;
    Qt::MouseButtons buttons = Qt::LeftButton;
    if (message.message == ce::WM_LBUTTONDOWN) {
        type = QEvent::MouseButtonPress;
        button = Qt::LeftButton;
        g_pressed = target;
    } else if (message.message == ce::WM_LBUTTONUP) {
        type = QEvent::MouseButtonRelease;
        button = Qt::LeftButton;
        buttons = Qt::NoButton;
        g_pressed = nullptr;
    }
    if (type == QEvent::MouseButtonPress) take_focus(target);
    const QPointF local = target->mapFromGlobal(global);
    QMouseEvent event(type, local, local, global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void deliver_key(CWnd* window, const ce::MSG& message) {
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = focus != nullptr && window->widget()->isAncestorOf(focus) ? focus : window->widget();
    const int key = InputDispatcher::QtKeyOf(message.wParam);
    const QString text = key >= 0x20 && key < 0x7F ? QString(QChar(key)) : QString();
    QKeyEvent event(message.message == ce::WM_KEYDOWN ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier,
                    text);
    QApplication::sendEvent(target, &event);
}

}  // namespace

void InputDispatcher::Deliver(CWnd* window, const ce::MSG& message) {
    if (window->widget() == nullptr) return;
    if (message.message == ce::WM_KEYDOWN || message.message == ce::WM_KEYUP) deliver_key(window, message);
    else if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) deliver_stylus(window, message);
}

void InputDispatcher::DiscardQueuedInput() {
    QCoreApplication::removePostedEvents(nullptr, MessageEvent::InputType());
    ce::MSG message;
    while (ce::PeekMessageW(&message, nullptr, ce::WM_KEYFIRST, ce::WM_KEYLAST, ce::PM_REMOVE)) {
    }
    while (ce::PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, ce::PM_REMOVE)) {
    }
    g_pressed = nullptr;
}

ce::WPARAM InputDispatcher::VirtualKeyOf(int qt_key) {
    for (const auto& pair : kKeys)
        if (pair.qt_key == qt_key) return pair.virtual_key;
    if ((qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) || (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z))
        return static_cast<ce::WPARAM>(qt_key);
    return 0;
}

int InputDispatcher::QtKeyOf(ce::WPARAM virtual_key) {
    for (const auto& pair : kKeys)
        if (pair.virtual_key == virtual_key) return pair.qt_key;
    return static_cast<int>(virtual_key);  // letters and digits share their codes
}

}  // namespace framework
