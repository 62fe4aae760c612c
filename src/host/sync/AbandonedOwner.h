#pragma once
// The process of a mutex owner that ended holding it. The kernel hands the mutex to the
// next waiter early in the owner's exit, before it closes the owner's files, so for a
// moment the dead program's sharing locks still refuse the files it had open. The new
// owner waits for that moment to pass: a store taken over from a crashed program must
// work at once.

#include <sys/types.h>

#include <chrono>

namespace host {

// Kept beside the mutex in memory every process sees, written by whoever owns it; all
// zero when nobody does (a plain struct, as the mapping starts out zeroed).
struct MutexOwner {
    pid_t process;
    pid_t thread;
};

class AbandonedOwner {
public:
    // Returns once the process of `owner` holds no file any more (it has ended, or only
    // its owning thread ended and the process lives on), or after `limit`.
    static void wait_for_release(const MutexOwner& owner, std::chrono::milliseconds limit);

private:
    // Whether a thread of `process` is on its way out: exiting, or with a kill pending.
    static bool ending(pid_t process);
    static bool thread_ending(pid_t process, pid_t thread);
};

}  // namespace host
