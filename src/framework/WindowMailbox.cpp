#include "framework/WindowMailbox.h"

#include <QCoreApplication>

#include "framework/CWnd.h"
#include "framework/MessageEvent.h"

namespace framework {

WindowMailbox::WindowMailbox(QObject* receiver, CWnd* window) : receiver_(receiver), window_(window) {}

void WindowMailbox::Close() {
    std::lock_guard guard(lock_);
    receiver_ = nullptr;
    window_ = nullptr;
}

bool WindowMailbox::post(const ce::MSG& message, Answer answer) {
    std::lock_guard guard(lock_);
    if (receiver_ == nullptr) return false;
    QCoreApplication::postEvent(receiver_, new MessageEvent(message, std::move(answer)));
    return true;
}

ce::LRESULT WindowMailbox::call(const ce::MSG& message) {
    CWnd* window = nullptr;
    {
        std::lock_guard guard(lock_);
        window = window_;
    }
    return window == nullptr ? 0 : window->WindowProc(message.message, message.wParam, message.lParam);
}

}  // namespace framework
