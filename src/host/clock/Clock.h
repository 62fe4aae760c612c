#pragma once
// The handheld's clock settings, kept in device.db: the device's UTC is the host's UTC
// plus an offset, and its local time is that UTC in the device's IANA time zone.

#include <chrono>
#include <cstdint>
#include <string>

#include "ce/Time.h"

namespace host {

struct ClockSettings {
    std::int64_t offset_ms = 0;   // device UTC - host UTC
    std::string zone = "UTC";     // IANA name, daylight saving from the tz database
};

ClockSettings clock_settings();
std::chrono::system_clock::time_point device_utc_now();

// Moves the clock so that the device's local time is now `local` (the day of week is
// ignored). False for a time that does not exist in the zone or an invalid date.
bool set_local_time(const ce::SYSTEMTIME& local);
// False, changing nothing, for a name the tz database does not know.
bool set_time_zone(const std::string& zone);

}  // namespace host
