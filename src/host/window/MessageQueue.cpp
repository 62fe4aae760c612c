#include "host/window/MessageQueue.h"

#include <chrono>
#include <utility>

#include "ce/Time.h"

namespace host {

bool MessageFilter::matches(const ce::MSG& message) const {
    if (window == reinterpret_cast<ce::HWND>(-1) && message.hwnd != nullptr) return false;
    if (window != nullptr && window != reinterpret_cast<ce::HWND>(-1) && message.hwnd != window) return false;
    if (min == 0 && max == 0) return true;
    return message.message >= min && message.message <= max;
}

MessageQueue::~MessageQueue() {
    for (auto& entry : messages_)
        if (entry.reply != nullptr) entry.reply->answer(0);
    if (handling_ != nullptr) handling_->answer(0);
}

void MessageQueue::post(const ce::MSG& message, std::shared_ptr<SentReply> reply) {
    {
        std::lock_guard guard(lock_);
        messages_.push_back(Entry{message, std::move(reply)});
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
        if (!filter.matches(it->message)) continue;
        *message = it->message;
        if (remove) {
            handling_ = std::move(it->reply);
            messages_.erase(it);
        }
        return true;
    }
    if (!quit_) return false;
    *message = ce::MSG{nullptr, ce::WM_QUIT, static_cast<ce::WPARAM>(exit_code_), 0, ce::GetTickCount()};
    if (remove) quit_ = false;
    return true;
}

std::shared_ptr<SentReply> MessageQueue::finish_handling_locked() { return std::exchange(handling_, nullptr); }

bool MessageQueue::peek(ce::MSG* message, const MessageFilter& filter, bool remove) {
    std::shared_ptr<SentReply> finished;
    bool found;
    {
        std::lock_guard guard(lock_);
        finished = finish_handling_locked();
        found = take_locked(message, filter, remove);
    }
    if (finished != nullptr) finished->answer(0);
    return found;
}

void MessageQueue::get(ce::MSG* message, const MessageFilter& filter) {
    std::unique_lock guard(lock_);
    if (auto finished = finish_handling_locked(); finished != nullptr) {
        guard.unlock();
        finished->answer(0);
        guard.lock();
    }
    arrived_.wait(guard, [&] { return take_locked(message, filter, true); });
}

bool MessageQueue::reply(ce::LRESULT result) {
    std::shared_ptr<SentReply> answered;
    {
        std::lock_guard guard(lock_);
        answered = finish_handling_locked();
    }
    if (answered == nullptr) return false;
    answered->answer(result);
    return true;
}

bool MessageQueue::in_send() {
    std::lock_guard guard(lock_);
    return handling_ != nullptr;
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
