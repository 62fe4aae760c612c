// Registers a daily alarm on a temporary handheld for each case read from stdin and
// prints the instant the notification service would start the wake program for it, so
// that bench/zones/sweep.py can hold it against an independent reading of the zone rule.
//
// In:  "ZONE NOW HH MM", NOW the handheld's UTC in seconds since 1970.
// Out: "ZONE NOW HH MM REGISTERED AT", REGISTERED the local time written into the
//      notification database ("YYYY-MM-DDTHH:MM:SS"), AT the UTC seconds at which the
//      service reaches it; "ZONE NOW HH MM none" when nothing was registered.

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "FreshHandheld.h"
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

// The handheld's UTC set to `now` exactly, as its clock offset from the host's.
bool set_device_utc(std::int64_t now) {
    const auto host_now = floor<milliseconds>(system_clock::now()).time_since_epoch();
    const auto offset = milliseconds(now * 1000) - host_now;
    return host::Device::current().database().set_setting(host::kClockOffsetSetting, std::to_string(offset.count()));
}

std::string registered() {
    for (const auto& row : host::NotificationStore(host::Device::current().database()).list()) {
        if (!row.is_timed() || row.application != kWake) continue;
        const auto at = host::device_utc_reaching(row.time);
        if (!at) return "impossible";
        std::string text = host::time_text(row.time);
        text[10] = 'T';
        return text + " " + std::to_string(duration_cast<seconds>(at->time_since_epoch()).count());
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
        int hour = 0, minute = 0;
        if (!(words >> zone >> now >> hour >> minute)) continue;
        if (zone != zone_set && !host::set_time_zone(zone)) {
            std::cout << zone << ' ' << now << ' ' << hour << ' ' << minute << " unknown-zone\n";
            continue;
        }
        zone_set = zone;
        CAlarmDB alarm;
        if (!set_device_utc(now) || alarm.Open(kAlarm) != CAlarmDB::kOk || alarm.SetAlarmTime(hour, minute) != CAlarmDB::kOk)
            return 1;
        alarm.Close();
        // The clock may have been set past the previous case's registration, which a
        // plain reschedule would keep as still owed to the alarm: each case is answered.
        CAlarmScheduler::RescheduleAnswered(kAlarm);
        std::cout << zone << ' ' << now << ' ' << hour << ' ' << minute << ' ' << registered() << '\n';
    }
    bench::remove_handheld(root);
    return 0;
}
