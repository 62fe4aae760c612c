#pragma once
// Ctrl-C and termination requests for verbs that must tidy up before they end: the
// signals are blocked and `handler` runs on a thread of its own for each one received.

#include <functional>

namespace handheld {

class Interrupts {
public:
    static void Forward(std::function<void()> handler);
};

}  // namespace handheld
