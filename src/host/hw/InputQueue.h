#pragma once
// The process's queue of input messages not yet taken by a window: what the stylus and
// the keys produced. The infrared engines empty it of taps and keys made while they
// held the processor, so those are not acted on afterwards.

#include <deque>
#include <mutex>

#include "ce/Input.h"

namespace host::hw {

class InputQueue {
public:
    static InputQueue& instance();

    void post(const ce::MSG& message);
    bool peek(ce::MSG* message, ce::UINT first, ce::UINT last, bool remove);
    std::size_t size();

private:
    std::mutex lock_;
    std::deque<ce::MSG> messages_;
};

}  // namespace host::hw
