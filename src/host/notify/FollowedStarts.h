#pragma once
// The programs the notification service started for timed registrations and that still
// run. A registration is used up only once its program has ended with exit code 0: one
// killed or crashed before (in its first milliseconds, before it could register anything
// itself) leaves it registered, and it falls due again shortly.

#include <cstdint>
#include <memory>
#include <vector>

#include "host/notify/NotificationStore.h"
#include "host/process/ProcessHandle.h"

namespace host {

class FollowedStarts {
public:
    struct Ended {
        TimedRow row;
        bool finished = false;  // exit code 0
        ce::DWORD exit_code = 0;
    };

    void follow(const TimedRow& row, std::unique_ptr<ProcessHandle> process);
    // What the service's poll waits on besides its own files: one per running program.
    std::vector<int> fds() const;
    // The followed programs that have ended, no longer followed.
    std::vector<Ended> take_ended();
    bool empty() const { return running_.empty(); }

private:
    struct Running {
        TimedRow row;
        std::unique_ptr<ProcessHandle> process;
    };
    std::vector<Running> running_;
};

}  // namespace host
