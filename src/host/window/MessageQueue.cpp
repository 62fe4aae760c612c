#include "host/window/MessageQueue.h"

#include <chrono>

#include "ce/Time.h"

namespace host {

bool MessageFilter::matches(const ce::MSG& message) const {
    if (window == reinterpret_cast<ce::HWND>(-1) && message.hwnd != nullptr) return false;
    if (window != nullptr && window != reinterpret_cast<ce::HWND>(-1) && message.hwnd != window) return false;
    if (min == 0 && max == 0) return true;
    return message.message >= min && message.message <= max;
}

void MessageQueue::post(const ce::MSG& message) {
    {
        std::lock_guard guard(lock_);
        messages_.push_back(message);
    }
    arrived_.notify_all();
}

void MessageQueue::post_quit(int exit_code) {
    {
        std::lock_guard guard(lock_);
        quit_ = true;
        exit_code_ = exit_code;
    }
    arrived_.notify_all();
}

bool MessageQueue::take_locked(ce::MSG* message, const MessageFilter& filter, bool remove) {
    for (auto it = messages_.begin(); it != messages_.end(); ++it) {
        if (!filter.matches(*it)) continue;
        *message = *it;
        if (remove) messages_.erase(it);
        return true;
    }
    if (!quit_) return false;
    *message = ce::MSG{nullptr, ce::WM_QUIT, static_cast<ce::WPARAM>(exit_code_), 0, ce::GetTickCount()};
    if (remove) quit_ = false;
    return true;
}

bool MessageQueue::peek(ce::MSG* message, const MessageFilter& filter, bool remove) {
    std::lock_guard guard(lock_);
    return take_locked(message, filter, remove);
}

void MessageQueue::get(ce::MSG* message, const MessageFilter& filter) {
    std::unique_lock guard(lock_);
    arrived_.wait(guard, [&] { return take_locked(message, filter, true); });
}

bool MessageQueue::wait(ce::DWORD milliseconds) {
    std::unique_lock guard(lock_);
    const auto ready = [&] { return !messages_.empty() || quit_; };
    if (milliseconds == ce::INFINITE) {
        arrived_.wait(guard, ready);
        return true;
    }
    return arrived_.wait_for(guard, std::chrono::milliseconds(milliseconds), ready);
}

}  // namespace host
