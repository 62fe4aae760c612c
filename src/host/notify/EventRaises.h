#pragma once
// The clock and time-zone events the notification service raises: those recorded with
// the change they announce (NotificationStore::record_event) and those any process asks
// for with an "event N" datagram. An event's programs are started at most once per
// kSpacing: raises that come sooner, however many, are coalesced into one start once it
// is over, and its log lines say how many raises they stand for. None is lost.

#include <chrono>
#include <map>
#include <optional>

#include "ce/Types.h"
#include "host/notify/NotificationRunner.h"
#include "host/notify/NotificationStore.h"

namespace host {

class EventRaises {
public:
    static constexpr std::chrono::seconds kSpacing{1};

    EventRaises(NotificationStore& store, NotificationRunner& runner) : store_(store), runner_(runner) {}

    // An "event N" datagram.
    void heard(ce::LONG event) { ++heard_[event]; }
    // Takes what was recorded; waits for a change still being committed. First thing
    // after a wake-up, so the rest of the service's round sees that change.
    void take();
    // Starts the programs of the events taken or heard whose spacing is over; how long
    // until the next of those that wait may be started (or the take be tried again).
    std::optional<std::chrono::milliseconds> raise_due();

private:
    using Clock = std::chrono::steady_clock;

    NotificationStore& store_;
    NotificationRunner& runner_;
    std::map<ce::LONG, long> taken_;
    std::map<ce::LONG, long> heard_;
    std::map<ce::LONG, Clock::time_point> last_;
    bool take_failed_ = false;
};

}  // namespace host
