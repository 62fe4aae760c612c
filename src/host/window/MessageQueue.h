#pragma once
// One thread's queue of posted messages. Posting may come from any thread; taking
// is done by the owning thread.

#include <condition_variable>
#include <deque>
#include <mutex>

#include "ce/Messages.h"

namespace host {

struct MessageFilter {
    ce::HWND window = nullptr;  // null: any; (HWND)-1: thread messages only
    ce::UINT min = 0;
    ce::UINT max = 0;
    bool matches(const ce::MSG& message) const;
};

class MessageQueue {
public:
    void post(const ce::MSG& message);
    // A WM_QUIT that comes after every message already queued, as PostQuitMessage wants.
    void post_quit(int exit_code);

    // Takes (or with remove false, copies) the first matching message; false when there is none.
    bool peek(ce::MSG* message, const MessageFilter& filter, bool remove);
    // Waits until a matching message (or a quit) is there and takes it.
    void get(ce::MSG* message, const MessageFilter& filter);
    // True as soon as any message is queued; false after `milliseconds` (INFINITE waits).
    bool wait(ce::DWORD milliseconds);

private:
    bool take_locked(ce::MSG* message, const MessageFilter& filter, bool remove);

    std::mutex lock_;
    std::condition_variable arrived_;
    std::deque<ce::MSG> messages_;
    bool quit_ = false;
    int exit_code_ = 0;
};

}  // namespace host
