#pragma once
// A handle to a process of the handheld: waited on with WaitForSingleObject, ended with
// TerminateProcess. It holds a Linux pidfd, so neither the wait nor the kill can reach
// another process that later gets the same id.

#include <memory>
#include <optional>

#include "ce/Sync.h"
#include "host/process/ChildExit.h"
#include "host/process/ProcessIdentity.h"
#include "host/sync/Waitable.h"

namespace host {

class ProcessHandle : public Waitable {
public:
    // Owns `pidfd`, opened on the process while it could not yet have been reaped;
    // `exit` is set for a process this one started, null for any other.
    ProcessHandle(ProcessIdentity identity, std::shared_ptr<ChildExit> exit, int pidfd);
    ~ProcessHandle() override;

    // A handle to a running process; null when there is none with that id.
    static ProcessHandle* open(pid_t pid);
    // A second handle to the same process.
    ProcessHandle* duplicate() const;
    // A pidfd on the process with that id (close-on-exec); -1 when there is none.
    static int open_pidfd(pid_t pid);

    const ProcessIdentity& identity() const { return identity_; }
    // Readable (poll) once the process has ended; -1 when the handle has none.
    int pidfd() const { return pidfd_; }
    // WAIT_OBJECT_0 once the process has ended, else WAIT_TIMEOUT.
    ce::DWORD wait(ce::DWORD milliseconds) override;
    bool ended() { return wait(0) == ce::WAIT_OBJECT_0; }
    // Kills the process and waits for its end; false when it had already ended.
    bool terminate(ce::UINT exit_code);
    // STILL_ACTIVE while it runs; nothing when it ended and its status is not known.
    std::optional<ce::DWORD> exit_code();

private:
    ProcessIdentity identity_;
    std::shared_ptr<ChildExit> exit_;
    int pidfd_ = -1;
};

}  // namespace host
