#pragma once
// The clock and time-zone events the notification service raises: those recorded with
// the change they announce (NotificationStore::record_event) and those any process asks
// for with an "event N" datagram. While the programs an event started still run, its
// further raises, however many, wait and are coalesced into one start once they have
// ended (or kLongestHold has passed, for a program that hangs); its log lines say how
// many raises that start stands for. None is lost.

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "ce/Types.h"
#include "host/notify/NotificationRunner.h"
#include "host/notify/NotificationStore.h"
#include "host/process/ProcessHandle.h"

namespace host {

class EventRaises {
public:
    static constexpr std::chrono::seconds kLongestHold{10};

    EventRaises(NotificationStore& store, NotificationRunner& runner) : store_(store), runner_(runner) {}

    // An "event N" datagram.
    void heard(ce::LONG event) { ++heard_[event]; }
    // Takes what was recorded; waits for a change still being committed. First thing
    // after a wake-up, so the rest of the service's round sees that change.
    void take();
    // Starts the programs of the events taken or heard whose previous programs have
    // ended; how long until a held one may be started anyway (or the take be tried again).
    std::optional<std::chrono::milliseconds> raise_due();
    // What to poll for the ends of the programs that hold their event's next raise.
    std::vector<int> fds() const;

private:
    using Clock = std::chrono::steady_clock;
    struct Raised {
        Clock::time_point at;
        std::vector<std::unique_ptr<ProcessHandle>> programs;  // those still running
    };

    NotificationStore& store_;
    NotificationRunner& runner_;
    std::map<ce::LONG, long> taken_;
    std::map<ce::LONG, long> heard_;
    std::map<ce::LONG, Raised> last_;
    bool take_failed_ = false;
};

}  // namespace host
