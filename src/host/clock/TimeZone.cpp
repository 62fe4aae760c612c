#include "host/clock/TimeZone.h"

#include <sys/stat.h>

#include <map>
#include <mutex>

#include "host/clock/TzifFile.h"
#include "host/clock/ZoneRules.h"

namespace host {

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// The clock asks for the zone at every reading: a look at the file's identity a second
// is all it costs, and a process that lives for months still follows the database.
constexpr std::chrono::seconds kLookAgain{1};

// Which file is there: a replaced file has another inode, or at least another size or
// time of modification.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified_ns = 0;
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identity_of(const std::string& name) {
    const auto path = TzifFile::path_of(name);
    struct stat status {};
    if (!path || stat(path->c_str(), &status) != 0) return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino, status.st_size,
                        std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec};
}

struct ReadZone {
    std::shared_ptr<const ZoneRules> rules;  // the last good ones
    std::optional<FileIdentity> file;        // the file last looked at (damaged or not)
    std::chrono::steady_clock::time_point looked;
};

std::mutex guard;
std::map<std::string, ReadZone, std::less<>> read_zones;

// With `guard` held: the rules of a zone read before, read again if its file was replaced.
TimeZone::Reread look_again(ReadZone& zone, const std::string& name) {
    zone.looked = std::chrono::steady_clock::now();
    // Taken before the file is read: a file replaced in between is only read once more.
    const auto file = identity_of(name);
    if (file == zone.file) return TimeZone::Reread::unchanged;
    zone.file = file;
    auto rules = TzifFile::load(name);
    if (!rules) return TimeZone::Reread::damaged;
    zone.rules = std::make_shared<const ZoneRules>(std::move(*rules));
    return TimeZone::Reread::replaced;
}

std::shared_ptr<const ZoneRules> rules_named(const std::string& name) {
    const std::lock_guard lock(guard);
    if (const auto found = read_zones.find(name); found != read_zones.end()) {
        if (std::chrono::steady_clock::now() - found->second.looked >= kLookAgain)
            look_again(found->second, name);
        return found->second.rules;
    }
    const auto file = identity_of(name);
    auto rules = TzifFile::load(name);
    if (!rules) return nullptr;
    ReadZone zone{std::make_shared<const ZoneRules>(std::move(*rules)), file, std::chrono::steady_clock::now()};
    return read_zones.emplace(name, std::move(zone)).first->second.rules;
}

std::int64_t whole_seconds(milliseconds value) { return std::chrono::floor<seconds>(value).count(); }

TimeZone::Utc minus(TimeZone::Local reading, std::int32_t offset) { return TimeZone::Utc(reading - seconds(offset)); }

}  // namespace

std::optional<TimeZone> TimeZone::find(const std::string& name) {
    auto rules = rules_named(name);
    if (rules == nullptr) return std::nullopt;
    return TimeZone(std::move(rules));
}

TimeZone::Reread TimeZone::reread(const std::string& name) {
    {
        const std::lock_guard lock(guard);
        if (const auto found = read_zones.find(name); found != read_zones.end()) return look_again(found->second, name);
    }
    return rules_named(name) != nullptr ? Reread::replaced : Reread::missing;
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
