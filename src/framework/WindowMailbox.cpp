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

ce::WindowProcedure::Posted WindowMailbox::post(const ce::MSG& message, Answer answer) {
    std::lock_guard guard(lock_);
    if (receiver_ == nullptr) return Posted::gone;
    // A sent message holds its sender until it is answered: never refused for the queue.
    if (answer) {
        QCoreApplication::postEvent(receiver_, new MessageEvent(message, std::move(answer)));
        return Posted::queued;
    }
    switch (waiting_->admit(message)) {
    case WaitingPosts::Admitted::coalesced: return Posted::coalesced;
    case WaitingPosts::Admitted::full: return Posted::full;
    case WaitingPosts::Admitted::yes: break;
    }
    QCoreApplication::postEvent(receiver_, new MessageEvent(message, {}, waiting_));
    return Posted::queued;
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
