#pragma once
// A window whose messages wait in its thread's queue: a message-only window, or a
// top-level window whose thread takes its messages with GetMessageW / PeekMessageW.

#include <memory>

#include "host/window/MessageQueue.h"
#include "host/window/WindowTarget.h"

namespace host {

class MessageWindow : public WindowTarget {
public:
    MessageWindow(ce::DWORD thread_id, std::weak_ptr<MessageQueue> queue);
    ce::DWORD thread_id() const override { return thread_id_; }
    ce::DWORD process_id() const override;
    ce::WindowProcedure::Posted deliver(const ce::MSG& message, std::shared_ptr<SentReply> reply) override;

private:
    ce::DWORD thread_id_;
    std::weak_ptr<MessageQueue> queue_;
};

}  // namespace host
