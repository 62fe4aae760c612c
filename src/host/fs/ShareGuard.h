#pragma once
// Serialises every check-and-change of the handheld's files that sharing depends on
// (opening, deleting, renaming) across all its processes: a flock on run/share/guard.
// Nested guards of one thread share the one lock, so a guarded call may release a
// share lock (which guards itself) without deadlocking.

#include <mutex>

namespace host {

class ShareGuard {
public:
    ShareGuard();
    ~ShareGuard();
    ShareGuard(const ShareGuard&) = delete;
    ShareGuard& operator=(const ShareGuard&) = delete;

private:
    std::unique_lock<std::recursive_mutex> thread_lock_;
};

}  // namespace host
