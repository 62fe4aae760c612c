#pragma once
// One zone of the tz database as its file gives it: the offsets from UTC it has had, each
// from the instant it changed, and the rule that goes on from the last listed change.

#include <cstdint>
#include <optional>
#include <vector>

#include "host/clock/PosixZoneRule.h"

namespace host {

class ZoneRules {
public:
    using Change = PosixZoneRule::Change;

    // `listed` in the order of their instants; `initial` holds before the first of them.
    ZoneRules(std::int32_t initial, std::vector<Change> listed, std::optional<PosixZoneRule> rule);

    // Seconds the wall clock is ahead of UTC at `utc` (seconds since 1970).
    std::int32_t offset_at(std::int64_t utc) const;

    // How a wall-clock reading (seconds since 1970 of the same wall clock) falls.
    struct Reading {
        enum class Kind { unique, skipped, repeated } kind = Kind::unique;
        // The offset in force before the change around the reading (the only one for a
        // unique reading), and after it.
        std::int32_t before = 0;
        std::int32_t after = 0;
    };
    Reading read(std::int64_t local) const;

private:
    // The changes after `from` up to `to`, each one a change of the offset.
    std::vector<Change> changes_between(std::int64_t from, std::int64_t to) const;
    // The instant of the last listed change, from which on the rule holds.
    std::int64_t last_listed() const;

    std::int32_t initial_;
    std::vector<Change> listed_;
    std::optional<PosixZoneRule> rule_;
};

}  // namespace host
