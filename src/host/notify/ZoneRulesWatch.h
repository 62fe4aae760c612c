#pragma once
// The handheld's zone as the tz database's file gives it, followed while the service runs:
// a tzdata upgrade replaces the file (a country ends daylight saving), and the service
// must not ring where the old rules put an alarm. Its folder is watched, so that the
// service wakes for a replacement; the file's identity is also looked at after every
// wake-up. New rules re-arm the timer (the loop arms after every wake-up) and are a
// change of zone when they move an offset that matters (ClockChange::zone_rules_changed);
// a replacement that cannot be read leaves the rules read before in force, said in the log.

#include <optional>
#include <string>

#include "host/DeviceLog.h"
#include "host/clock/TimeZone.h"

namespace host {

class ZoneRulesWatch {
public:
    explicit ZoneRulesWatch(const DeviceLog& log);
    ~ZoneRulesWatch();
    ZoneRulesWatch(const ZoneRulesWatch&) = delete;
    ZoneRulesWatch& operator=(const ZoneRulesWatch&) = delete;

    // For poll(); -1 when nothing can be watched.
    int fd() const { return fd_; }
    // After every wake-up: follows the handheld's zone, takes what the folder reported, and
    // reads the zone's file again if it was replaced.
    void check();

private:
    void follow(const std::string& zone);
    void drain() const;

    const DeviceLog& log_;
    int fd_ = -1;
    int watched_ = -1;
    std::string zone_;
    std::optional<TimeZone> seen_;  // the rules the service last worked with
};

}  // namespace host
