#pragma once
// The message queues of the process's threads by thread id. A thread's queue is made
// the first time it asks for messages and leaves the table when the thread ends, taking
// the thread's windows with it.

#include <memory>
#include <mutex>
#include <unordered_map>

#include "host/window/MessageQueue.h"

namespace host {

class ThreadQueues {
public:
    static ThreadQueues& instance();

    // The calling thread's queue, made on first use.
    const std::shared_ptr<MessageQueue>& current();
    // The queue of a thread, or null when it has none.
    std::shared_ptr<MessageQueue> find(ce::DWORD thread_id);

    void remove(ce::DWORD thread_id);

private:
    std::mutex lock_;
    std::unordered_map<ce::DWORD, std::shared_ptr<MessageQueue>> queues_;
};

}  // namespace host
