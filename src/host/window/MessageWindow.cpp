#include "host/window/MessageWindow.h"

#include <unistd.h>

namespace host {

MessageWindow::MessageWindow(ce::DWORD thread_id, std::weak_ptr<MessageQueue> queue)
    : thread_id_(thread_id), queue_(std::move(queue)) {}

ce::DWORD MessageWindow::process_id() const { return static_cast<ce::DWORD>(getpid()); }

ce::WindowProcedure::Posted MessageWindow::deliver(const ce::MSG& message, std::shared_ptr<SentReply> reply) {
    const auto queue = queue_.lock();
    if (queue == nullptr) return ce::WindowProcedure::Posted::gone;
    queue->post(message, std::move(reply));
    return ce::WindowProcedure::Posted::queued;
}

}  // namespace host
