#pragma once
// Windows whose messages are handled by a window procedure rather than waiting in a
// thread queue: the framework puts each of its windows behind a handle this way, so a
// message the core posts or sends to that handle, from this process or another,
// reaches the window's handlers on the window's thread.

#include <functional>
#include <memory>

#include "ce/Messages.h"

namespace ce {

class WindowProcedure {
public:
    // Given the result of a sent message once the window has handled it.
    using Answer = std::function<void(LRESULT)>;
    // What became of a message handed over: on its way; not needed, the same message
    // still waits (a window coalesces some); refused, too many wait already; refused, the
    // window has gone.
    enum class Posted { queued, coalesced, full, gone };

    virtual ~WindowProcedure() = default;
    // Called on any thread: hands the message to the window's own thread and returns at
    // once; `answer` is set for a sent message, which is never coalesced nor refused as full.
    virtual Posted post(const MSG& message, Answer answer) = 0;
    // Called on the window's own thread, for a message it sends itself: runs it at once.
    virtual LRESULT call(const MSG& message) = 0;
};

// A new handle for a window of the calling thread. A top-level window (topLevel TRUE)
// also joins the handheld's windows, found by other programs by its title and class
// (ce/Windows.h). DestroyWindow gives the handle up.
HWND CreateProcedureWindow(std::shared_ptr<WindowProcedure> procedure, LPCWSTR className, LPCWSTR windowName,
                           BOOL topLevel);

}  // namespace ce
