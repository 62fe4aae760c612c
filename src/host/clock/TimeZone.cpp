#include "host/clock/TimeZone.h"

#include <date/tz.h>

#include <exception>

namespace host {

namespace {

using std::chrono::milliseconds;

date::local_time<milliseconds> local_time(TimeZone::Local reading) { return date::local_time<milliseconds>(reading); }

}  // namespace

std::optional<TimeZone> TimeZone::find(const std::string& name) {
    if (name.empty()) return std::nullopt;
    try {
        return TimeZone(date::locate_zone(name));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

TimeZone::Local TimeZone::to_local(Utc instant) const {
    if (zone_ == nullptr) return instant.time_since_epoch();
    try {
        return zone_->to_local(instant).time_since_epoch();
    } catch (const std::exception&) {
        return instant.time_since_epoch();
    }
}

std::optional<TimeZone::Utc> TimeZone::to_utc(Local reading) const {
    if (zone_ == nullptr) return Utc(reading);
    try {
        const auto info = zone_->get_info(std::chrono::floor<std::chrono::seconds>(local_time(reading)));
        if (info.result == date::local_info::nonexistent) return std::nullopt;
        // For an ambiguous reading `first` is the offset in force before the change: the earlier instant.
        return Utc(reading - info.first.offset);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

TimeZone::Resolved TimeZone::resolve(Local reading) const {
    if (zone_ == nullptr) return {Utc(reading), Fold::unique, Utc(reading)};
    try {
        const auto info = zone_->get_info(std::chrono::floor<std::chrono::seconds>(local_time(reading)));
        switch (info.result) {
        case date::local_info::nonexistent:
            // `first` is the offset in force before the jump: read with it, the reading
            // lands as far past the gap's end as it stood past the gap's start.
            return {Utc(reading - info.first.offset), Fold::skipped, Utc(reading - info.first.offset)};
        case date::local_info::ambiguous:
            return {Utc(reading - info.first.offset), Fold::repeated, Utc(reading - info.second.offset)};
        default:
            return {Utc(reading - info.first.offset), Fold::unique, Utc(reading - info.first.offset)};
        }
    } catch (const std::exception&) {
        return {Utc(reading), Fold::unique, Utc(reading)};
    }
}

}  // namespace host
