#include "host/window/ThreadQueues.h"

#include "host/Device.h"
#include "host/process/ProcessIdentity.h"
#include "host/window/WindowRegistry.h"
#include "host/window/WindowTable.h"

namespace host {

namespace {

// Leaves the table when its thread ends.
struct QueueOwner {
    std::shared_ptr<MessageQueue> queue;
    ce::DWORD thread_id = 0;
    ~QueueOwner() {
        if (queue == nullptr) return;
        if (WindowTable::instance().remove_thread(thread_id))
            WindowRegistry(Device::current().database()).remove_thread(ProcessIdentity::self(), thread_id);
        ThreadQueues::instance().remove(thread_id);
    }
};

thread_local QueueOwner t_owner;

}  // namespace

ThreadQueues& ThreadQueues::instance() {
    static auto* queues = new ThreadQueues;  // outlives the thread_local owners of other threads
    return *queues;
}

const std::shared_ptr<MessageQueue>& ThreadQueues::current() {
    if (t_owner.queue == nullptr) {
        t_owner.thread_id = ce::GetCurrentThreadId();
        t_owner.queue = std::make_shared<MessageQueue>();
        std::lock_guard guard(lock_);
        queues_[t_owner.thread_id] = t_owner.queue;
    }
    return t_owner.queue;
}

std::shared_ptr<MessageQueue> ThreadQueues::find(ce::DWORD thread_id) {
    std::lock_guard guard(lock_);
    const auto found = queues_.find(thread_id);
    return found == queues_.end() ? nullptr : found->second;
}

void ThreadQueues::remove(ce::DWORD thread_id) {
    std::lock_guard guard(lock_);
    queues_.erase(thread_id);
}

}  // namespace host
