#pragma once
// A recursive, robust pthread mutex with the ownership rules of a handheld mutex: owned
// by a thread, taken again by its owner (counted), released only by its owner, and
// handed to the next waiter as abandoned when its owner ends holding it. The memory of
// the pthread mutex belongs to someone else (a file shared by processes, or private).

#include <pthread.h>
#include <sys/types.h>

#include <atomic>

#include "ce/Types.h"
#include "host/sync/AbandonedOwner.h"

namespace host {

class RobustMutex {
public:
    static bool initialise(pthread_mutex_t* mutex, bool process_shared);

    // `owned`: the calling thread has already locked `mutex` once. `record` lives beside
    // the mutex, where every process that shares it reads who owns it.
    RobustMutex(pthread_mutex_t* mutex, MutexOwner* record, bool owned);
    RobustMutex(const RobustMutex&) = delete;
    RobustMutex& operator=(const RobustMutex&) = delete;

    ce::DWORD wait(ce::DWORD milliseconds);
    // False with ERROR_NOT_OWNER unless the calling thread owns it.
    bool release();
    // Gives up every acquisition of the calling thread (when it lets go of the mutex entirely).
    void release_all();
    // Whether a thread of this process that is still running owns it. The kernel's list of
    // robust mutexes of such a thread points into the mutex's memory, which must stay.
    bool held_by_live_thread() const;

private:
    void acquired(bool abandoned);
    int lock(ce::DWORD milliseconds);

    pthread_mutex_t* mutex_;
    MutexOwner* record_;
    std::atomic<pid_t> owner_{0};  // thread id of the owner in this process, 0 for none
    unsigned count_ = 0;           // only the owner touches it
};

}  // namespace host
