#include "host/notify/ZoneRulesWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include "host/clock/Clock.h"
#include "host/clock/TzifFile.h"
#include "host/notify/ClockChange.h"

namespace host {

ZoneRulesWatch::ZoneRulesWatch(const DeviceLog& log) : log_(log) { fd_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK); }

ZoneRulesWatch::~ZoneRulesWatch() {
    if (fd_ >= 0) close(fd_);
}

void ZoneRulesWatch::follow(const std::string& zone) {
    zone_ = zone;
    seen_ = TimeZone::find(zone);
    if (!seen_ && zone != "UTC")
        log_.write("the tz database has no readable file for the time zone " + zone + ": the handheld's clock reads UTC");
    if (fd_ < 0) return;
    if (watched_ >= 0) inotify_rm_watch(fd_, watched_);
    watched_ = -1;
    // Upgrades write a new file and rename it over the old one.
    constexpr auto kReplaced = IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM | IN_CLOSE_WRITE | IN_ATTRIB;
    if (const auto file = TzifFile::path_of(zone))
        watched_ = inotify_add_watch(fd_, file->parent_path().c_str(), kReplaced | IN_ONLYDIR);
}

void ZoneRulesWatch::drain() const {
    alignas(inotify_event) char events[4096];
    while (fd_ >= 0 && read(fd_, events, sizeof events) > 0) {
    }
}

void ZoneRulesWatch::check() {
    drain();
    const std::string zone = clock_settings().zone;
    // Another zone is a change of zone with its own event, not new rules.
    if (zone != zone_) return follow(zone);
    if (!seen_) {
        seen_ = TimeZone::find(zone);
        return;
    }
    if (TimeZone::reread(zone) == TimeZone::Reread::damaged)
        log_.write("the tz database's file for " + zone +
                   " was replaced by one that cannot be read; the rules read before stay in force");
    // Also rules a reading elsewhere in this process took up first.
    const auto now = TimeZone::find(zone);
    if (!now || now->same_rules(*seen_)) return;
    const auto before = *seen_;
    seen_ = now;
    switch (ClockChange::zone_rules_changed(before)) {
    case ClockChange::RulesMoved::nothing:
        log_.write("new rules for the time zone " + zone + " from the tz database; they move no offset that matters");
        break;
    case ClockChange::RulesMoved::offsets:
        log_.write("new rules for the time zone " + zone + " from the tz database: a change of the time zone");
        break;
    case ClockChange::RulesMoved::failed:
        log_.write("could not take the new rules for the time zone " + zone + " from the tz database");
        seen_ = before;  // tried again after the next wake-up
        break;
    }
}

}  // namespace host
