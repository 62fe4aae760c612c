#pragma once
// Whether this computer is woken from suspend for the handheld's next alarm: the
// service writes which clock its timer is on (run/notify/wake), `handheld status` reads
// it and adds what the computer itself has (an RTC to program) and what to do about a no.

#include <string>

namespace host {

class Device;
class AlarmTimer;
class ServiceFiles;

class SuspendReport {
public:
    static void write(const ServiceFiles& files, const AlarmTimer& timer);
    // One line for `handheld status`.
    static std::string describe(Device& device);
    // Whether the computer has a real-time clock the kernel can program to wake it
    // (/sys/class/rtc, or the folder KIVO_HOST_RTC names for a test, is not empty).
    static bool rtc_present();
};

}  // namespace host
