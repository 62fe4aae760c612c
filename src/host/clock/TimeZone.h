#pragma once
// An IANA time zone of the tz database, with daylight saving, behind result values: an
// unknown zone or an unreadable zone file is nothing found. A zone's file is read once
// and read again when it is replaced (a tzdata upgrade): find() looks at the file's
// identity at most once a second, reread() at once. A replacement that cannot be read
// leaves the rules read before in force.

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace host {

class ZoneRules;

class TimeZone {
public:
    using Utc = std::chrono::sys_time<std::chrono::milliseconds>;
    // A wall-clock reading, counted in milliseconds from 1970-01-01 00:00 of the same wall clock.
    using Local = std::chrono::milliseconds;

    // Nothing for a name the tz database does not know.
    static std::optional<TimeZone> find(const std::string& name);
    static TimeZone utc() { return TimeZone(nullptr); }

    enum class Reread {
        unchanged,  // the file is the one the rules came from (or a damaged one seen before)
        replaced,   // new rules read from a new file
        damaged,    // a new file that cannot be read: the rules read before stay
        missing     // no rules for the name were ever read, nor can be now
    };
    static Reread reread(const std::string& name);
    // Whether both are the same rules of the same reading of a zone's file.
    bool same_rules(const TimeZone& other) const { return rules_ == other.rules_; }

    Local to_local(Utc instant) const;
    // Nothing for a reading that a clock change skips; of a reading that occurs twice
    // (the hour repeated when daylight saving ends), the earlier instant.
    std::optional<Utc> to_utc(Local reading) const;

    // Where a reading falls when the clock changes around it.
    enum class Fold { unique, skipped, repeated };
    struct Resolved {
        Utc instant;
        Fold fold = Fold::unique;
        Utc later;  // of a repeated reading, its second instant; else `instant`
    };
    // Every reading resolves: a skipped one shifted forward by the length of the gap
    // (02:10 in a gap from 02:00 to 03:00 is 03:10), a repeated one to its earlier instant.
    Resolved resolve(Local reading) const;

private:
    explicit TimeZone(std::shared_ptr<const ZoneRules> rules) : rules_(std::move(rules)) {}

    std::shared_ptr<const ZoneRules> rules_;  // null: UTC
};

}  // namespace host
