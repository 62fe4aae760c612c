#pragma once
// Stylus and key messages posted to a top-level window (by `handheld tap`, `key`, or
// another program) become the input events a touch screen and keys would give: the
// stylus goes to the control under the point, or to the one that captured it; keys go
// to the focused control. Also discards queued input after a blocking operation.

#include <QWidget>

#include "ce/Messages.h"

class CWnd;

namespace framework {

class InputDispatcher {
public:
    // `window` received the message; stylus points are in its client coordinates.
    static void Deliver(CWnd* window, const ce::MSG& message);
    // Drops every stylus and key message queued for the thread's windows and its queue.
    static void DiscardQueuedInput();

    static ce::WPARAM VirtualKeyOf(int qt_key);
    static int QtKeyOf(ce::WPARAM virtual_key);
};

}  // namespace framework
