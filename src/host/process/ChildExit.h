#pragma once
// How a process this one started ended. A started program is reaped by a thread of its
// own as soon as it ends, so that no ended program lingers as a zombie in a long-running
// starter (the scheduler service, the alert program), and its exit status stays known
// for as long as a handle to it is open.

#include <sys/types.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "ce/Types.h"

namespace host {

class ChildExit {
public:
    // Starts reaping `pid`, a child of this process.
    static std::shared_ptr<ChildExit> watch(pid_t pid);
    // The exit of a running child of this process; null for any other process.
    static std::shared_ptr<ChildExit> of(pid_t pid);

    // True once the child has ended; false after `milliseconds` (INFINITE waits).
    bool wait(ce::DWORD milliseconds);
    // The wait status of the ended child (as waitpid gives it); nothing while it runs.
    std::optional<int> status();
    // The exit code TerminateProcess asked for, which a killed child reports.
    void set_terminated_with(ce::UINT exit_code);
    std::optional<ce::UINT> terminated_with();

private:
    void set(int status);

    std::mutex lock_;
    std::condition_variable ended_;
    std::optional<int> status_;
    std::optional<ce::UINT> terminated_with_;
};

}  // namespace host
