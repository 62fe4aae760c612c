#pragma once
// What stands behind a window handle: where a message posted to it goes. Message-only
// windows queue it for their thread; other kinds of window (the framework's, windows of
// other processes) deliver it their own way behind the same handle.

#include "ce/Messages.h"

namespace host {

class WindowTarget {
public:
    virtual ~WindowTarget() = default;
    virtual ce::DWORD thread_id() const = 0;
    virtual ce::DWORD process_id() const = 0;
    // False when the message can no longer be delivered (its thread has ended).
    virtual bool deliver(const ce::MSG& message) = 0;
};

}  // namespace host
