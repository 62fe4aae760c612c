// The clock calls of the platform interface and the handheld's clock settings.

#include "host/clock/Clock.h"

#include <time.h>

#include <charconv>
#include <mutex>
#include <optional>

#include "host/Device.h"
#include "host/clock/ComputerZone.h"
#include "host/clock/LocalTime.h"
#include "host/clock/TimeZone.h"
#include "host/notify/ServiceLink.h"

namespace host {

namespace {

using namespace std::chrono;

using Utc = TimeZone::Utc;

std::int64_t parse_offset(const std::string& text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() ? value : 0;
}

// A zone name in device.db that the tz database does not know (written by hand, or a
// database from a newer host) leaves the device on UTC rather than failing every call.
TimeZone zone_of(const ClockSettings& settings) { return TimeZone::find(settings.zone).value_or(TimeZone::utc()); }

constexpr const char* kFollowsLink = "localtime";
constexpr const char* kFollowsNamed = "named";

ClockSource source_named(const std::string& text) {
    if (text == kFollowsLink) return ClockSource::computer;
    if (text == kFollowsNamed) return ClockSource::computer_named;
    return ClockSource::own;
}

const char* source_text(ClockSource source) {
    switch (source) {
    case ClockSource::computer:
        return kFollowsLink;
    case ClockSource::computer_named:
        return kFollowsNamed;
    case ClockSource::own:
        break;
    }
    return "";
}

// Several settings at once, so that no process reads a clock half changed: in a
// transaction of its own unless the caller's holds them together already.
bool store_clock(Database& database, std::int64_t offset_ms, const std::string& zone, ClockSource source) {
    std::lock_guard guard(database.lock());
    std::optional<Transaction> transaction;
    if (!database.in_transaction()) transaction.emplace(database);
    if (transaction && !transaction->ok()) return false;
    const bool stored = database.set_setting(kClockOffsetSetting, std::to_string(offset_ms)) &&
                        database.set_setting(kClockZoneSetting, zone) &&
                        database.set_setting(kClockSourceSetting, source_text(source));
    return stored && (!transaction || transaction->commit());
}

Utc device_utc(const ClockSettings& settings) {
    return floor<milliseconds>(system_clock::now()) + milliseconds(settings.offset_ms);
}

}  // namespace

ClockSettings clock_settings() {
    ClockSettings settings;
    Database& database = Device::current().database();
    if (!database.is_open()) return settings;
    if (const auto offset = database.setting(kClockOffsetSetting)) settings.offset_ms = parse_offset(*offset);
    if (const auto zone = database.setting(kClockZoneSetting)) settings.zone = *zone;
    settings.source = source_named(database.setting(kClockSourceSetting).value_or(""));
    // The computer's clock is the host's: an offset left from a clock of its own does not count.
    if (settings.follows_computer()) settings.offset_ms = 0;
    return settings;
}

system_clock::time_point device_utc_now() { return device_utc(clock_settings()); }

bool clock_holds(const ce::SYSTEMTIME& local) {
    return local.wYear >= kEarliestClockYear && local.wYear <= kLatestClockYear;
}

bool set_local_time(const ce::SYSTEMTIME& local) {
    if (!clock_holds(local)) return false;
    const auto target = device_utc_of(local);
    return target && set_device_utc(*target);
}

bool set_device_utc(system_clock::time_point device_utc) {
    // Whole milliseconds on both sides, as device_utc() reads them: a reading taken right
    // after must not come out a fraction before the time just set.
    const auto offset = duration_cast<milliseconds>(device_utc - floor<milliseconds>(system_clock::now()));
    if (!store_clock(Device::current().database(), offset.count(), clock_settings().zone, ClockSource::own)) return false;
    // Registered local times now fall due at other host times.
    ServiceLink::changed();
    return true;
}

bool set_time_zone(const std::string& zone) {
    // Leaving the computer's clock keeps its time: the offset is the 0 it was.
    const auto settings = clock_settings();
    if (!TimeZone::find(zone) || !store_clock(Device::current().database(), settings.offset_ms, zone, ClockSource::own)) return false;
    ServiceLink::changed();
    return true;
}

bool follow_computer(const std::string& zone, ClockSource source) {
    if (source == ClockSource::own || !TimeZone::find(zone) || !store_clock(Device::current().database(), 0, zone, source)) return false;
    ServiceLink::changed();
    return true;
}

bool adopt_computer_clock(Database& database) {
    const auto computer = ComputerZone::current();
    return store_clock(database, 0, computer.zone,
                       computer.named_by_tz ? ClockSource::computer_named : ClockSource::computer);
}

bool set_followed_zone(const std::string& zone) {
    if (!TimeZone::find(zone) || !Device::current().database().set_setting(kClockZoneSetting, zone)) return false;
    ServiceLink::changed();
    return true;
}

ce::SYSTEMTIME device_local_time(system_clock::time_point device_utc) {
    return system_time_of(zone_of(clock_settings()).to_local(floor<milliseconds>(device_utc)));
}

std::optional<system_clock::time_point> device_utc_of(const ce::SYSTEMTIME& local) {
    const auto reading = reading_of(local);
    if (!reading) return std::nullopt;
    return zone_of(clock_settings()).to_utc(*reading);
}

std::optional<system_clock::time_point> device_utc_reaching(const ce::SYSTEMTIME& local) {
    const auto reading = reading_of(local);
    if (!reading) return std::nullopt;
    return zone_of(clock_settings()).resolve(*reading).instant;
}

std::optional<Readings> device_utc_readings(const ce::SYSTEMTIME& local) {
    const auto reading = reading_of(local);
    if (!reading) return std::nullopt;
    const auto resolved = zone_of(clock_settings()).resolve(*reading);
    return Readings{resolved.instant, resolved.later};
}

system_clock::time_point host_time_of(system_clock::time_point device_utc) {
    return device_utc - milliseconds(clock_settings().offset_ms);
}

}  // namespace host

namespace ce {

void GetLocalTime(SYSTEMTIME* time) {
    if (time == nullptr) return;
    const auto settings = host::clock_settings();
    *time = host::system_time_of(host::zone_of(settings).to_local(host::device_utc(settings)));
}

void GetSystemTime(SYSTEMTIME* time) {
    if (time == nullptr) return;
    *time = host::system_time_of(host::device_utc(host::clock_settings()).time_since_epoch());
}

BOOL LocalTimeToSystemTime(const SYSTEMTIME* local, SYSTEMTIME* utc, DWORD* fold) {
    if (local == nullptr || utc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto reading = host::reading_of(*local);
    if (!reading) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto resolved = host::zone_of(host::clock_settings()).resolve(*reading);
    *utc = host::system_time_of(resolved.instant.time_since_epoch());
    if (fold != nullptr) {
        *fold = resolved.fold == host::TimeZone::Fold::skipped    ? LOCAL_TIME_SKIPPED
                : resolved.fold == host::TimeZone::Fold::repeated ? LOCAL_TIME_REPEATED
                                                                  : LOCAL_TIME_UNIQUE;
    }
    return TRUE;
}

BOOL SystemTimeToLocalTime(const SYSTEMTIME* utc, SYSTEMTIME* local) {
    if (utc == nullptr || local == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto reading = host::reading_of(*utc);
    if (!reading) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *local = host::system_time_of(host::zone_of(host::clock_settings()).to_local(host::TimeZone::Utc(*reading)));
    return TRUE;
}

DWORD GetTickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<DWORD>(ms);  // wraps as the device's counter does
}

}  // namespace ce
