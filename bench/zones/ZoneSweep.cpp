// Registers a daily alarm on a temporary handheld for each case read from stdin and
// prints the instant the notification service would start the wake program for it, so
// that bench/zones/sweep.py can hold it against an independent reading of the zone rule.
//
// In:  "ZONE NOW HH MM", NOW the handheld's UTC in seconds since 1970: a daily alarm at
//      HH:MM; "ZONE NOW HH MM SS": instead, a pending repeat at HH:MM:SS of a once-only
//      alarm that has gone off (inactive, at a time of day that is not due before it).
// Out: the case, then "REGISTERED AT", REGISTERED the local time written into the
//      notification database ("YYYY-MM-DDTHH:MM:SS"), AT the UTC seconds at which the
//      service reaches it; the case, then "none" when nothing was registered.

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "FreshHandheld.h"
#include "alarms/AlarmTag.h"
#include "alarms/CAlarmDB.h"
#include "alarms/CAlarmScheduler.h"
#include "ce/Files.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/clock/LocalTime.h"
#include "host/notify/NotificationStore.h"

namespace {

using namespace std::chrono;

constexpr const char16_t* kAlarm = u"\\Program Files\\KIVO\\Alarms\\1.kivo";
constexpr const char16_t* kWake = u"\\Windows\\kivowake.exe";

bool make_installed_device(std::filesystem::path* root) {
    *root = bench::select_fresh_handheld("sweep");
    if (root->empty()) return false;
    setenv("KIVO_PROGRAM_PATH", "\\Program Files\\KIVO\\KIVO.exe", 1);
    for (const char16_t* folder : {u"\\Program Files", u"\\Program Files\\KIVO", u"\\Program Files\\KIVO\\Alarms",
                                   u"\\Windows"})
        ce::CreateDirectoryW(folder);
    for (const char16_t* program : {u"\\Program Files\\KIVO\\Alert.exe", kWake})
        ce::CloseHandle(ce::CreateFileW(program, ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS));
    CAlarmDB alarm;
    if (alarm.Create(kAlarm) != CAlarmDB::kOk) return false;
    alarm.SetDescription(u"Sweep");
    alarm.SetDays(0x7F);
    alarm.SetActive(1);
    alarm.Close();
    return true;
}

// A daily alarm at `hour`:`minute`, or (`repeat`) a gone-off once-only alarm whose
// repeat is pending at `hour`:`minute`:`second`.
bool write_alarm(int hour, int minute, std::optional<int> repeat_second) {
    CAlarmDB alarm;
    if (alarm.Open(kAlarm) != CAlarmDB::kOk) return false;
    // A repeat's alarm time is the same, and never before it: it is not due anyway.
    if (!repeat_second) alarm.RemoveTag(AlarmTag::RefireTime);  // none to remove is fine
    const bool written = alarm.SetDays(repeat_second ? 0 : 0x7F) == CAlarmDB::kOk &&
                         alarm.SetActive(repeat_second ? 0 : 1) == CAlarmDB::kOk &&
                         alarm.SetAlarmTime(hour, minute) == CAlarmDB::kOk &&
                         (!repeat_second || alarm.SetRefireTime(hour, minute, *repeat_second) == CAlarmDB::kOk);
    alarm.Close();
    return written;
}

// The handheld's UTC set to `now` exactly, as its clock offset from the host's.
bool set_device_utc(std::int64_t now) {
    const auto host_now = floor<milliseconds>(system_clock::now()).time_since_epoch();
    const auto offset = milliseconds(now * 1000) - host_now;
    return host::Device::current().database().set_setting(host::kClockOffsetSetting, std::to_string(offset.count()));
}

// The registration read as the service reads it: the second time the clock reads a
// repeated local time when it was registered for that one.
std::string registered() {
    for (const auto& row : host::NotificationStore(host::Device::current().database()).timed_rows()) {
        if (row.application != kWake) continue;
        const auto local = host::time_from_text(row.time);
        const auto readings = local ? host::device_utc_readings(*local) : std::nullopt;
        if (!readings) return "impossible";
        const auto at = row.second_reading ? readings->second : readings->first;
        std::string text = row.time;
        text[10] = 'T';
        return text + " " + std::to_string(duration_cast<seconds>(at.time_since_epoch()).count());
    }
    return "none";
}

}  // namespace

int main() {
    std::filesystem::path root;
    if (!make_installed_device(&root)) {
        std::cerr << "cannot make a temporary handheld\n";
        return 1;
    }
    std::string line, zone_set;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string zone;
        std::int64_t now = 0;
        int hour = 0, minute = 0, second = 0;
        if (!(words >> zone >> now >> hour >> minute)) continue;
        const bool repeat = static_cast<bool>(words >> second);
        const std::string asked = zone + ' ' + std::to_string(now) + ' ' + std::to_string(hour) + ' ' +
                                  std::to_string(minute) + (repeat ? ' ' + std::to_string(second) : "");
        if (zone != zone_set && !host::set_time_zone(zone)) {
            std::cout << asked << " unknown-zone\n";
            continue;
        }
        zone_set = zone;
        if (!set_device_utc(now) || !write_alarm(hour, minute, repeat ? std::optional(second) : std::nullopt)) return 1;
        // The clock may have been set past the previous case's registration, which a
        // plain reschedule would keep as still owed to the alarm: each case is answered.
        CAlarmScheduler::RescheduleAnswered(kAlarm);
        std::cout << asked << ' ' << registered() << '\n';
    }
    bench::remove_handheld(root);
    return 0;
}
