#include "host/process/ProcessHandle.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "ce/Process.h"
#include "ce/Sync.h"

namespace host {

namespace {

// A killed process is gone within a moment; this bounds the wait for a process stuck
// in the kernel (uninterruptible I/O), so that the killer is never stuck with it.
constexpr ce::DWORD kEndPatienceMs = 10000;

}  // namespace

// Through syscall(): the C library's own declarations of these calls are not usable from C++.
int ProcessHandle::open_pidfd(pid_t pid) { return static_cast<int>(syscall(SYS_pidfd_open, pid, 0)); }

ProcessHandle::ProcessHandle(ProcessIdentity identity, std::shared_ptr<ChildExit> exit, int pidfd)
    : identity_(identity), exit_(std::move(exit)), pidfd_(pidfd) {}

ProcessHandle::~ProcessHandle() {
    if (pidfd_ >= 0) close(pidfd_);
}

ProcessHandle* ProcessHandle::open(pid_t pid) {
    const auto identity = ProcessIdentity::of(pid);
    if (!identity) return nullptr;
    const int pidfd = open_pidfd(pid);
    if (pidfd < 0) return nullptr;
    // The id may have passed to a new process between the check and the open.
    if (!identity->alive()) {
        close(pidfd);
        return nullptr;
    }
    return new ProcessHandle(*identity, ChildExit::of(pid), pidfd);
}

ProcessHandle* ProcessHandle::duplicate() const {
    return new ProcessHandle(identity_, exit_, pidfd_ < 0 ? -1 : fcntl(pidfd_, F_DUPFD_CLOEXEC, 0));
}

ce::DWORD ProcessHandle::wait(ce::DWORD milliseconds) {
    if (pidfd_ < 0) {
        if (exit_ == nullptr) return ce::WAIT_OBJECT_0;
        return exit_->wait(milliseconds) ? ce::WAIT_OBJECT_0 : ce::WAIT_TIMEOUT;
    }
    // The pidfd tells the end the moment it happens, whoever ends the process; the reaper
    // of a child follows a moment later with its exit status.
    pollfd ended{pidfd_, POLLIN, 0};
    const int timeout =
        milliseconds == ce::INFINITE ? -1 : static_cast<int>(std::min<ce::DWORD>(milliseconds, 1u << 30));
    int ready;
    do {
        ready = poll(&ended, 1, timeout);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return ce::WAIT_TIMEOUT;
    if (exit_ != nullptr) exit_->wait(ce::INFINITE);
    return ce::WAIT_OBJECT_0;
}

bool ProcessHandle::terminate(ce::UINT exit_code) {
    if (pidfd_ < 0 || ended()) return false;
    if (exit_ != nullptr) exit_->set_terminated_with(exit_code);
    if (syscall(SYS_pidfd_send_signal, pidfd_, SIGKILL, nullptr, 0) != 0) return false;
    wait(kEndPatienceMs);
    return true;
}

std::optional<ce::DWORD> ProcessHandle::exit_code() {
    if (!ended()) return ce::STILL_ACTIVE;
    if (exit_ == nullptr) return std::nullopt;
    const int status = exit_->status().value_or(0);
    if (WIFEXITED(status)) return static_cast<ce::DWORD>(WEXITSTATUS(status));
    const auto terminated_with = exit_->terminated_with();
    if (terminated_with && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return *terminated_with;
    // Ended by a signal nobody here sent: the shell's convention.
    return static_cast<ce::DWORD>(128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0));
}

}  // namespace host
