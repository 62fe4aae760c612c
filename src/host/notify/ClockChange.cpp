#include "host/notify/ClockChange.h"

#include <functional>
#include <optional>
#include <vector>

#include "ce/Notify.h"
#include "ce/Text.h"
#include "host/Device.h"
#include "host/DeviceLog.h"
#include "host/clock/Clock.h"
#include "host/clock/LocalTime.h"
#include "host/clock/TimeZone.h"
#include "host/notify/NotificationStore.h"
#include "host/notify/ServiceFiles.h"
#include "host/notify/ServiceLink.h"

namespace host {

namespace {

using namespace std::chrono;

using Instant = system_clock::time_point;

struct Side {
    TimeZone zone;
    Instant now;
};

TimeZone zone_now() { return TimeZone::find(clock_settings().zone).value_or(TimeZone::utc()); }

std::optional<Instant> instant_in(const TimeZone& zone, const TimedRow& row) {
    const auto local = time_from_text(row.time);
    const auto reading = local ? reading_of(*local) : std::nullopt;
    if (!reading) return std::nullopt;
    const auto resolved = zone.resolve(*reading);
    return row.second_reading ? resolved.later : resolved.instant;
}

// The registrations the change from `before` to `after` jumps over, removed; the lines
// that say so. One already due before the change is left to the service: it ran late,
// not because of this change.
std::vector<std::string> settle(const Side& before, const Side& after, bool zone_change) {
    std::vector<std::string> lines;
    NotificationStore store(Device::current().database());
    for (const TimedRow& row : store.timed_rows()) {
        const auto was = instant_in(before.zone, row);
        const auto is = instant_in(after.zone, row);
        if (!was || !is || *was <= before.now || *is > after.now) continue;
        if (!zone_change && after.now - *is <= ClockChange::kLanding) continue;
        if (!store.take_timed(row)) continue;
        lines.push_back("not starting " + ce::utf8_from_utf16(row.application) + " AppRunAtTime (registered for " +
                        row.time + "): the " + (zone_change ? "time zone was changed" : "clock was set") +
                        " past it");
    }
    return lines;
}

// `apply` makes the change and gives the device's time right after it; `before_now` and
// `before_zone`, the time the clock read and its zone's rules before (by default, read
// here). `events` are raised with it.
bool change(bool zone_change, const std::vector<ce::LONG>& events,
            const std::function<std::optional<Instant>()>& apply, std::optional<Instant> before_now = std::nullopt,
            const std::optional<TimeZone>& before_zone = std::nullopt) {
    std::vector<std::string> lines;
    {
        Transaction transaction(Device::current().database());
        if (!transaction.ok()) return false;
        const Side before{before_zone.value_or(zone_now()), before_now.value_or(device_utc_now())};
        const auto now = apply();
        if (!now) return false;
        lines = settle(before, Side{zone_now(), *now}, zone_change);
        NotificationStore store(Device::current().database());
        for (const ce::LONG event : events)
            if (!store.record_event(event)) return false;
        // Woken before the commit, the service waits for it to take the events (take_events):
        // a process killed once it has committed has told it already. Registered local times
        // now fall due at other host times too.
        ServiceLink::changed();
        if (!transaction.commit()) return false;
    }
    const DeviceLog log(ServiceFiles::kLogName);
    for (const auto& line : lines) log.write(line);
    return true;
}

}  // namespace

bool ClockChange::set_local_time(const ce::SYSTEMTIME& local) {
    return change(false, {ce::NOTIFICATION_EVENT_TIME_CHANGE}, [&]() -> std::optional<Instant> {
        // The time as set, not a moment later: what lands within kLanding of it is kept.
        const auto target = device_utc_of(local);
        if (!target || !host::set_local_time(local)) return std::nullopt;
        return target;
    });
}

bool ClockChange::set_time_zone(const std::string& zone) {
    return change(true, {ce::NOTIFICATION_EVENT_TZ_CHANGE}, [&]() -> std::optional<Instant> {
        if (!host::set_time_zone(zone)) return std::nullopt;
        return device_utc_now();
    });
}

std::optional<ClockChange::Moved> ClockChange::follow_computer(const ComputerZone::Choice& computer) {
    const auto settings = clock_settings();
    const Moved moved{settings.offset_ms != 0, settings.zone != computer.zone};
    const auto source = computer.named_by_tz ? ClockSource::computer_named : ClockSource::computer;
    // Back to the computer's zone is a zone change, and never rings what it jumps over.
    std::vector<ce::LONG> events;
    if (moved.zone) events.push_back(ce::NOTIFICATION_EVENT_TZ_CHANGE);
    if (moved.clock) events.push_back(ce::NOTIFICATION_EVENT_TIME_CHANGE);
    const bool changed = change(moved.zone, events, [&]() -> std::optional<Instant> {
        if (!host::follow_computer(computer.zone, source)) return std::nullopt;
        return device_utc_now();
    });
    if (!changed) return std::nullopt;
    return moved;
}

bool ClockChange::computer_clock_stepped(Instant unstepped) {
    return change(false, {ce::NOTIFICATION_EVENT_TIME_CHANGE}, [] { return std::optional(device_utc_now()); },
                  unstepped);
}

ClockChange::RulesMoved ClockChange::zone_rules_changed(const TimeZone& before) {
    const auto now = device_utc_now();
    const TimeZone after = zone_now();
    const auto reading = [&](const TimeZone& zone) { return zone.to_local(floor<milliseconds>(now)); };
    bool moved = reading(before) != reading(after);
    for (const TimedRow& row : NotificationStore(Device::current().database()).timed_rows())
        moved = moved || instant_in(before, row) != instant_in(after, row);
    if (!moved) return RulesMoved::nothing;
    const bool changed = change(true, {ce::NOTIFICATION_EVENT_TZ_CHANGE}, [] { return std::optional(device_utc_now()); },
                                now, before);
    return changed ? RulesMoved::offsets : RulesMoved::failed;
}

bool ClockChange::computer_zone_changed(const std::string& zone) {
    return change(true, {ce::NOTIFICATION_EVENT_TZ_CHANGE}, [&]() -> std::optional<Instant> {
        if (!host::set_followed_zone(zone)) return std::nullopt;
        return device_utc_now();
    });
}

}  // namespace host
