#pragma once
// What stands behind a window handle of this process: where a message posted or sent
// to it goes.

#include <memory>

#include "ce/Messages.h"
#include "host/window/SentReply.h"

namespace host {

class WindowTarget {
public:
    virtual ~WindowTarget() = default;
    virtual ce::DWORD thread_id() const = 0;
    virtual ce::DWORD process_id() const = 0;
    // False when the message can no longer be delivered (its thread has ended). `reply`
    // is set for a sent message and answered once the message is handled.
    virtual bool deliver(const ce::MSG& message, std::shared_ptr<SentReply> reply) = 0;
};

}  // namespace host
