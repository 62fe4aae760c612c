#pragma once
// A step of the computer's clock or a change of its zone, for a handheld that follows
// the computer: the same change to the handheld as `handheld time set` / `tz set` (the
// registrations it jumps over settled by ClockChange's rules), its event recorded with it.
// A handheld with a clock of its own is not moved by them.

#include <chrono>

#include "host/DeviceLog.h"

namespace host {

class ComputerChanges {
public:
    explicit ComputerChanges(const DeviceLog& log) : log_(log) {}

    // The computer's clock was set `step` ahead (behind, when negative).
    void clock_stepped(std::chrono::milliseconds step);
    // The link naming the computer's zone was touched, or the service has just started
    // and may have missed that: a change of zone if it names another one now.
    void zone_may_have_changed();

private:
    const DeviceLog& log_;
};

}  // namespace host
