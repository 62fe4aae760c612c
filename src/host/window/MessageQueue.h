#pragma once
// One thread's queue of posted and sent messages. Posting may come from any thread;
// taking is done by the owning thread. A sent message's sender is answered when the
// thread replies, or with 0 when the thread comes back to the queue without replying
// or the queue goes with its thread.

#include <condition_variable>
#include <deque>
#include <mutex>

#include <memory>

#include "ce/Messages.h"
#include "host/window/SentReply.h"

namespace host {

struct MessageFilter {
    ce::HWND window = nullptr;  // null: any; (HWND)-1: thread messages only
    ce::UINT min = 0;
    ce::UINT max = 0;
    bool matches(const ce::MSG& message) const;
};

class MessageQueue {
public:
    MessageQueue() = default;
    MessageQueue(const MessageQueue&) = delete;
    MessageQueue& operator=(const MessageQueue&) = delete;
    ~MessageQueue();

    // `reply` is set for a sent message.
    void post(const ce::MSG& message, std::shared_ptr<SentReply> reply = nullptr);
    // A WM_QUIT that comes after every message already queued, as PostQuitMessage wants.
    void post_quit(int exit_code);

    // Takes (or with remove false, copies) the first matching message; false when there is none.
    bool peek(ce::MSG* message, const MessageFilter& filter, bool remove);
    // Waits until a matching message (or a quit) is there and takes it.
    void get(ce::MSG* message, const MessageFilter& filter);
    // True as soon as any message is queued; false after `milliseconds` (INFINITE waits).
    bool wait(ce::DWORD milliseconds);

    // Answers the sent message taken last; false when there is none waiting for an answer.
    bool reply(ce::LRESULT result);
    bool in_send();

private:
    struct Entry {
        ce::MSG message;
        std::shared_ptr<SentReply> reply;
    };

    bool take_locked(ce::MSG* message, const MessageFilter& filter, bool remove);
    // The sent message being handled is over once its thread is back at the queue.
    std::shared_ptr<SentReply> finish_handling_locked();

    std::mutex lock_;
    std::condition_variable arrived_;
    std::deque<Entry> messages_;
    std::shared_ptr<SentReply> handling_;
    bool quit_ = false;
    int exit_code_ = 0;
};

}  // namespace host
