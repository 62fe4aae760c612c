#pragma once
// What stands behind a window handle of this process: where a message posted or sent
// to it goes.

#include <memory>
#include <optional>

#include "ce/Messages.h"
#include "ce/WindowProcedure.h"
#include "host/window/SentReply.h"

namespace host {

class WindowTarget {
public:
    virtual ~WindowTarget() = default;
    virtual ce::DWORD thread_id() const = 0;
    virtual ce::DWORD process_id() const = 0;
    // What became of the message: gone when its thread has ended. `reply` is set for a
    // sent message and answered once the message is handled (with 0 when it is refused).
    virtual ce::WindowProcedure::Posted deliver(const ce::MSG& message, std::shared_ptr<SentReply> reply) = 0;
    // Runs a message sent by the window's own thread and gives its answer; nothing when
    // the window has no procedure to run it (its messages only wait in a queue).
    virtual std::optional<ce::LRESULT> call(const ce::MSG& /*message*/) { return std::nullopt; }
};

}  // namespace host
