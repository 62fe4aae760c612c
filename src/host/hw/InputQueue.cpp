#include "host/hw/InputQueue.h"

#include <algorithm>

namespace host::hw {

InputQueue& InputQueue::instance() {
    static InputQueue queue;
    return queue;
}

void InputQueue::post(const ce::MSG& message) {
    std::lock_guard guard(lock_);
    messages_.push_back(message);
}

bool InputQueue::peek(ce::MSG* message, ce::UINT first, ce::UINT last, bool remove) {
    std::lock_guard guard(lock_);
    const bool any = first == 0 && last == 0;
    const auto found = std::find_if(messages_.begin(), messages_.end(), [&](const ce::MSG& m) {
        return any || (m.message >= first && m.message <= last);
    });
    if (found == messages_.end()) return false;
    if (message != nullptr) *message = *found;
    if (remove) messages_.erase(found);
    return true;
}

std::size_t InputQueue::size() {
    std::lock_guard guard(lock_);
    return messages_.size();
}

}  // namespace host::hw
