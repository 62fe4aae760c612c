#include "host/notify/WakeTimer.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace host {

using namespace std::chrono;

WakeTimer::WakeTimer() {
    fd_ = timerfd_create(CLOCK_REALTIME_ALARM, TFD_CLOEXEC | TFD_NONBLOCK);
    if (fd_ >= 0) {
        alarm_clock_ = true;
        return;
    }
    why_not_ = errno == EPERM ? "the notification service lacks CAP_WAKE_ALARM"
                              : std::string("this computer has no alarm clock timer (") + std::strerror(errno) + ")";
    fd_ = timerfd_create(CLOCK_REALTIME, TFD_CLOEXEC | TFD_NONBLOCK);
}

WakeTimer::~WakeTimer() {
    if (fd_ >= 0) close(fd_);
}

void WakeTimer::arm(std::optional<system_clock::time_point> at) {
    itimerspec setting{};
    if (at) {
        const auto since_epoch = at->time_since_epoch();
        const auto whole = duration_cast<seconds>(since_epoch);
        setting.it_value.tv_sec = static_cast<time_t>(whole.count());
        setting.it_value.tv_nsec = static_cast<long>(duration_cast<nanoseconds>(since_epoch - whole).count());
        // Time zero would disarm it; a due time before the epoch is simply due now.
        if (setting.it_value.tv_sec <= 0) setting.it_value = {0, 1};
    }
    timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &setting, nullptr);
}

WakeTimer::Woken WakeTimer::read() {
    std::uint64_t expirations = 0;
    if (::read(fd_, &expirations, sizeof expirations) == sizeof expirations) return Woken::fired;
    return errno == ECANCELED ? Woken::clock_set : Woken::nothing;
}

}  // namespace host
