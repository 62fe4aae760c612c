#include "host/sync/RobustMutex.h"

#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "ce/Sync.h"

namespace host {

namespace {

bool thread_running(pid_t thread) {
    return syscall(SYS_tgkill, getpid(), thread, 0) == 0 || errno == EPERM;
}

timespec deadline_after(ce::DWORD milliseconds) {
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += static_cast<time_t>(milliseconds / 1000);
    deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1'000'000L;
    if (deadline.tv_nsec >= 1'000'000'000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1'000'000'000L;
    }
    return deadline;
}

// Longer than any exit takes; a process that hangs in its exit must not hang the waiter.
constexpr std::chrono::milliseconds kReleaseLimit{1000};

}  // namespace

bool RobustMutex::initialise(pthread_mutex_t* mutex, bool process_shared) {
    pthread_mutexattr_t attributes;
    if (pthread_mutexattr_init(&attributes) != 0) return false;
    const bool ready =
        pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE) == 0 &&
        pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST) == 0 &&
        pthread_mutexattr_setpshared(&attributes, process_shared ? PTHREAD_PROCESS_SHARED : PTHREAD_PROCESS_PRIVATE) ==
            0 &&
        pthread_mutex_init(mutex, &attributes) == 0;
    pthread_mutexattr_destroy(&attributes);
    return ready;
}

RobustMutex::RobustMutex(pthread_mutex_t* mutex, MutexOwner* record, bool owned) : mutex_(mutex), record_(record) {
    if (owned) acquired(false);
}

int RobustMutex::lock(ce::DWORD milliseconds) {
    if (milliseconds == 0) return pthread_mutex_trylock(mutex_);
    if (milliseconds == ce::INFINITE) return pthread_mutex_lock(mutex_);
    const timespec deadline = deadline_after(milliseconds);
    return pthread_mutex_clocklock(mutex_, CLOCK_MONOTONIC, &deadline);
}

ce::DWORD RobustMutex::wait(ce::DWORD milliseconds) {
    switch (lock(milliseconds)) {
    case 0:
        acquired(false);
        return ce::WAIT_OBJECT_0;
    case EOWNERDEAD:
        // Its owner ended holding it; the waiter takes it over in whatever state it was left,
        // once the dead process no longer holds the files it had open.
        pthread_mutex_consistent(mutex_);
        AbandonedOwner::wait_for_release(*record_, kReleaseLimit);
        acquired(true);
        return ce::WAIT_ABANDONED;
    case EBUSY:
    case ETIMEDOUT:
        return ce::WAIT_TIMEOUT;
    case EAGAIN:  // taken again more often than the count can hold
        ce::SetLastError(ce::ERROR_NOT_ENOUGH_MEMORY);
        return ce::WAIT_FAILED;
    default:
        ce::SetLastError(ce::ERROR_INVALID_HANDLE);
        return ce::WAIT_FAILED;
    }
}

void RobustMutex::acquired(bool abandoned) {
    const pid_t self = gettid();
    if (!abandoned && owner_.load() == self) {
        ++count_;
        return;
    }
    count_ = 1;
    owner_.store(self);
    *record_ = MutexOwner{getpid(), self};
}

bool RobustMutex::release() {
    if (owner_.load() != gettid()) {
        ce::SetLastError(ce::ERROR_NOT_OWNER);
        return false;
    }
    if (--count_ == 0) {
        owner_.store(0);
        *record_ = MutexOwner{};
    }
    pthread_mutex_unlock(mutex_);
    return true;
}

void RobustMutex::release_all() {
    while (owner_.load() == gettid()) release();
}

bool RobustMutex::held_by_live_thread() const {
    const pid_t owner = owner_.load();
    return owner != 0 && thread_running(owner);
}

}  // namespace host
