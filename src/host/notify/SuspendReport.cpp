#include "host/notify/SuspendReport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "host/Device.h"
#include "host/notify/AlarmTimer.h"
#include "host/notify/ServiceFiles.h"
#include "host/notify/ServiceLink.h"

namespace host {

namespace {

constexpr const char* kAlarmClock = "CLOCK_REALTIME_ALARM";
constexpr const char* kPlainClock = "CLOCK_REALTIME";

std::filesystem::path rtc_folder() {
    const char* folder = std::getenv("KIVO_HOST_RTC");
    return folder != nullptr && *folder != '\0' ? folder : "/sys/class/rtc";
}

}  // namespace

void SuspendReport::write(const ServiceFiles& files, const AlarmTimer& timer) {
    std::ofstream out(files.timer_clock(), std::ios::trunc);
    out << (timer.on_alarm_clock() ? kAlarmClock : kPlainClock) << '\n' << timer.why_not_alarm_clock() << '\n';
}

bool SuspendReport::rtc_present() {
    std::error_code error;
    return !std::filesystem::is_empty(rtc_folder(), error) && !error;
}

std::string SuspendReport::describe(Device& device) {
    const ServiceLink link(device);
    if (!link.running()) return "nothing wakes this computer for an alarm: no notification service runs";
    std::ifstream in(ServiceFiles(device).timer_clock());
    std::string clock, why_not;
    std::getline(in, clock);
    std::getline(in, why_not);
    if (clock != kAlarmClock)
        return "not woken from suspend for an alarm: " + (why_not.empty() ? std::string("the service's timer is on ") + kPlainClock : why_not) +
               "; run `sudo handheld install --wake`, then `handheld stop` and `handheld start`";
    if (!rtc_present())
        return "not woken from suspend for an alarm: this computer has no RTC (" + rtc_folder().string() +
               " is empty) to wake it; the service waits on " + kAlarmClock + " all the same";
    return std::string("woken from suspend for the next alarm (the service waits on ") + kAlarmClock + ")";
}

}  // namespace host
