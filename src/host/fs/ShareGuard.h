#pragma once
// Serialises every check-and-change of the handheld's files that sharing depends on
// (opening, deleting, renaming) across all its processes: a flock on run/share/guard.
// Nested guards of one thread share the one lock. The file stays open between guards,
// so a guard costs one lock and one unlock.

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
