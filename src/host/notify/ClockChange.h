#pragma once
// A person setting the handheld's clock or changing its time zone. The timed
// registrations the change jumps over are settled in the same transaction as the
// setting, so the notification service never sees them due:
// - a change of zone starts none of them (their local times now fall at other instants,
//   some of them behind the clock);
// - a clock set forward past one does not start it either, unless the time set is at most
//   kLanding past it: a small correction that lands on the alarm must not lose it.
// A settled registration is removed and said so in log/notify.log; the programs
// registered for the event register what is next. The event is recorded in the same
// transaction (NotificationStore::record_event) for the service to raise: the caller
// only sees to it that a service runs (ServiceLink::see_to). A
// registration whose time came while nothing was changed by hand (the handheld was off,
// its service down) is no jump: the service still starts it once, late.
// The computer's clock stepped and its zone changed are the same changes for a handheld
// that follows the computer, and are settled by the same rules; so are new rules for the
// zone, from a tzdata upgrade.

#include <chrono>
#include <optional>
#include <string>

#include "ce/Time.h"
#include "host/clock/ComputerZone.h"
#include "host/clock/TimeZone.h"

namespace host {

class ClockChange {
public:
    static constexpr std::chrono::seconds kLanding{15};

    // False, changing nothing, for a local time the zone skips, an invalid date, or a
    // settings database that cannot be written.
    static bool set_local_time(const ce::SYSTEMTIME& local);
    // False, changing nothing, for a name the tz database does not know.
    static bool set_time_zone(const std::string& zone);

    // What taking the computer's clock and zone again moved: the events to raise.
    struct Moved {
        bool clock = false;
        bool zone = false;
    };
    // Nothing, changing nothing, for a zone the tz database does not know.
    static std::optional<Moved> follow_computer(const ComputerZone::Choice& computer);
    // The computer's clock was stepped while the handheld followed it: `unstepped` is the
    // device UTC its clock would read now had it not been.
    static bool computer_clock_stepped(std::chrono::system_clock::time_point unstepped);
    // The computer's zone became `zone` while the handheld followed it.
    static bool computer_zone_changed(const std::string& zone);
    // The rules of the handheld's zone were read again from a new file of the tz
    // database; `before` holds the ones in force until then. A change of zone only if they
    // move the offset now or the instant of a registered time.
    enum class RulesMoved { nothing, offsets, failed };
    static RulesMoved zone_rules_changed(const TimeZone& before);
};

}  // namespace host
