#pragma once
// The notification service's timer: set to the host time of the next registration. On
// CLOCK_REALTIME_ALARM where the service may create one (it holds CAP_WAKE_ALARM), so
// that the kernel programs the computer's RTC to wake it from suspend for the alarm;
// else on CLOCK_REALTIME, which a suspended computer never reaches. A step of the
// computer's clock moves it with the clock; the service hears of steps from ClockSteps.

#include <chrono>
#include <optional>
#include <string>

namespace host {

class AlarmTimer {
public:
    AlarmTimer();
    ~AlarmTimer();
    AlarmTimer(const AlarmTimer&) = delete;
    AlarmTimer& operator=(const AlarmTimer&) = delete;

    bool ok() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // Whether the timer is on the alarm clock; if not, why not.
    bool on_alarm_clock() const { return alarm_clock_; }
    const std::string& why_not_alarm_clock() const { return why_not_; }

    // Fires at host time `at`; never, for nothing.
    void arm(std::optional<std::chrono::system_clock::time_point> at);
    // Takes what it reported; whether it had fired.
    bool read();

private:
    int fd_ = -1;
    bool alarm_clock_ = false;
    std::string why_not_;
};

}  // namespace host
