#include "host/clock/TimeZone.h"

#include <map>
#include <mutex>

#include "host/clock/TzifFile.h"
#include "host/clock/ZoneRules.h"

namespace host {

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// A zone's file is read once in a process: the clock asks for the zone at every reading.
std::shared_ptr<const ZoneRules> rules_named(const std::string& name) {
    static std::mutex guard;
    static std::map<std::string, std::shared_ptr<const ZoneRules>, std::less<>> read;
    const std::lock_guard lock(guard);
    if (const auto found = read.find(name); found != read.end()) return found->second;
    auto rules = TzifFile::load(name);
    if (!rules) return nullptr;
    return read.emplace(name, std::make_shared<const ZoneRules>(std::move(*rules))).first->second;
}

std::int64_t whole_seconds(milliseconds value) { return std::chrono::floor<seconds>(value).count(); }

TimeZone::Utc minus(TimeZone::Local reading, std::int32_t offset) { return TimeZone::Utc(reading - seconds(offset)); }

}  // namespace

std::optional<TimeZone> TimeZone::find(const std::string& name) {
    auto rules = rules_named(name);
    if (rules == nullptr) return std::nullopt;
    return TimeZone(std::move(rules));
}

TimeZone::Local TimeZone::to_local(Utc instant) const {
    if (rules_ == nullptr) return instant.time_since_epoch();
    return instant.time_since_epoch() + seconds(rules_->offset_at(whole_seconds(instant.time_since_epoch())));
}

std::optional<TimeZone::Utc> TimeZone::to_utc(Local reading) const {
    const Resolved resolved = resolve(reading);
    if (resolved.fold == Fold::skipped) return std::nullopt;
    return resolved.instant;
}

TimeZone::Resolved TimeZone::resolve(Local reading) const {
    if (rules_ == nullptr) return {Utc(reading), Fold::unique, Utc(reading)};
    const ZoneRules::Reading read = rules_->read(whole_seconds(reading));
    // A skipped reading is read with the offset in force before the jump: it lands as far
    // past the gap's end as it stood past the gap's start.
    const Utc earlier = minus(reading, read.before);
    switch (read.kind) {
    case ZoneRules::Reading::Kind::skipped:
        return {earlier, Fold::skipped, earlier};
    case ZoneRules::Reading::Kind::repeated:
        return {earlier, Fold::repeated, minus(reading, read.after)};
    case ZoneRules::Reading::Kind::unique:
        break;
    }
    return {earlier, Fold::unique, earlier};
}

}  // namespace host
