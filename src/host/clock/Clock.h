#pragma once
// The handheld's clock settings, kept in device.db: the device's UTC is the host's UTC
// plus an offset, and its local time is that UTC in the device's IANA time zone.
// Every call reads the settings afresh, since another program of the handheld may
// have set the clock in between.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "ce/Time.h"

namespace host {

class Database;

// Whose clock the handheld keeps. A new handheld follows the computer; one made before
// there was a choice (no setting) keeps its own.
enum class ClockSource {
    own,            // its offset and zone, set with `handheld time set` / `tz set`
    computer,       // the computer's clock and the zone its /etc/localtime names
    computer_named  // the computer's clock in the zone $TZ named when it began to follow
};

struct ClockSettings {
    std::int64_t offset_ms = 0;   // device UTC - host UTC; 0 while following the computer
    std::string zone = "UTC";     // IANA name, daylight saving from the tz database
    ClockSource source = ClockSource::own;

    bool follows_computer() const { return source != ClockSource::own; }
};

// Setting names in device.db.
inline constexpr const char* kClockOffsetSetting = "clock.offset_ms";
inline constexpr const char* kClockZoneSetting = "clock.zone";
inline constexpr const char* kClockSourceSetting = "clock.follows";

ClockSettings clock_settings();
std::chrono::system_clock::time_point device_utc_now();

// The years the clock can be set to. Its instants are counted in the host clock's
// nanoseconds, which reach about 292 years either side of 1970; a clock set beyond would
// wrap round (and make every pending alarm fall due), and one set close to the end
// would wrap while running.
inline constexpr int kEarliestClockYear = 1900;
inline constexpr int kLatestClockYear = 2199;
bool clock_holds(const ce::SYSTEMTIME& local);

// Moves the clock so that the device's local time is now `local` (the day of week is
// ignored). False for a time that does not exist in the zone, an invalid date, or a
// year the clock does not hold. A local time that occurs twice (when daylight saving
// ends) is taken as the earlier.
bool set_local_time(const ce::SYSTEMTIME& local);
// Moves the clock so that the device's UTC is now `device_utc`, whatever the local time
// reads (the second 02:30 of a night daylight saving ends, say).
bool set_device_utc(std::chrono::system_clock::time_point device_utc);
// False, changing nothing, for a name the tz database does not know. Both give the
// handheld a clock of its own.
bool set_time_zone(const std::string& zone);
// The handheld keeps the computer's clock (offset 0) and `zone`, the computer's; false
// for a zone the tz database does not know.
bool follow_computer(const std::string& zone, ClockSource source);
// A new handheld's clock: the computer's, in the zone ComputerZone chooses.
bool adopt_computer_clock(Database& database);
// The zone of a handheld that follows the computer's /etc/localtime moves with it.
bool set_followed_zone(const std::string& zone);

// Conversions in the device's current zone, for those that schedule by local time:
// the local time at a device UTC instant, and the instant of a local time (nothing
// for an invalid date or a time skipped by a clock change; the earlier of two).
ce::SYSTEMTIME device_local_time(std::chrono::system_clock::time_point device_utc);
std::optional<std::chrono::system_clock::time_point> device_utc_of(const ce::SYSTEMTIME& local);
// The instant the device's clock reaches the local time `local`: a time skipped by a
// clock change is read shifted forward by the gap, a repeated one the first time.
// Nothing for an invalid date or time of day.
std::optional<std::chrono::system_clock::time_point> device_utc_reaching(const ce::SYSTEMTIME& local);
// The two instants the device's clock reads `local` (the same one twice unless the zone
// repeats that time), nothing for an invalid date or time of day.
struct Readings {
    std::chrono::system_clock::time_point first;
    std::chrono::system_clock::time_point second;
};
std::optional<Readings> device_utc_readings(const ce::SYSTEMTIME& local);
// The host time at which the device's clock reads `device_utc`.
std::chrono::system_clock::time_point host_time_of(std::chrono::system_clock::time_point device_utc);

}  // namespace host
