#pragma once
// Serialises every check-and-change of the handheld's files that sharing depends on
// (opening, deleting, renaming) across all its processes: a robust process-shared mutex
// mapped from run/share/guard, which a process ending inside a guard hands on. Nested
// guards of one thread share the one lock. The mapping stays between guards, so a guard
// takes no system call to lock and unlock, only one to see its file is still the one.

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
