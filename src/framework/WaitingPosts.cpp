#include "framework/WaitingPosts.h"

namespace framework {

void WaitingPosts::coalesce(ce::UINT message) {
    std::lock_guard guard(lock_);
    coalesced_.insert(message);
}

WaitingPosts::Admitted WaitingPosts::admit(const ce::MSG& message) {
    std::lock_guard guard(lock_);
    if (coalesced_.contains(message.message) &&
        !waiting_coalesced_.insert(Key{message.message, message.wParam, message.lParam}).second)
        return Admitted::coalesced;
    if (waiting_ >= kMost) {
        waiting_coalesced_.erase(Key{message.message, message.wParam, message.lParam});
        return Admitted::full;
    }
    ++waiting_;
    return Admitted::yes;
}

void WaitingPosts::left(const ce::MSG& message) {
    std::lock_guard guard(lock_);
    --waiting_;
    if (coalesced_.contains(message.message))
        waiting_coalesced_.erase(Key{message.message, message.wParam, message.lParam});
}

}  // namespace framework
