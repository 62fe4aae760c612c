#include "host/notify/AlarmTimer.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace host {

using namespace std::chrono;

namespace {

// `install --wake` gives the service CAP_WAKE_ALARM as permitted only, not effective: a
// file whose capability is effective cannot be run at all where the bounding set lacks it
// (a container, a session that dropped it), and the service must then still run, on the
// plain clock. So the service makes it effective itself, where it is permitted.
void use_permitted_wake_alarm() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (syscall(SYS_capget, &header, data) != 0) return;
    const unsigned word = CAP_TO_INDEX(CAP_WAKE_ALARM);
    const std::uint32_t bit = CAP_TO_MASK(CAP_WAKE_ALARM);
    if ((data[word].permitted & bit) == 0 || (data[word].effective & bit) != 0) return;
    data[word].effective |= bit;
    syscall(SYS_capset, &header, data);
}

}  // namespace

AlarmTimer::AlarmTimer() {
    use_permitted_wake_alarm();
    fd_ = timerfd_create(CLOCK_REALTIME_ALARM, TFD_CLOEXEC | TFD_NONBLOCK);
    if (fd_ >= 0) {
        alarm_clock_ = true;
        return;
    }
    why_not_ = errno == EPERM ? "the notification service lacks CAP_WAKE_ALARM"
                              : std::string("this computer has no alarm clock timer (") + std::strerror(errno) + ")";
    fd_ = timerfd_create(CLOCK_REALTIME, TFD_CLOEXEC | TFD_NONBLOCK);
}

AlarmTimer::~AlarmTimer() {
    if (fd_ >= 0) close(fd_);
}

void AlarmTimer::arm(std::optional<system_clock::time_point> at) {
    itimerspec setting{};
    if (at) {
        const auto since_epoch = at->time_since_epoch();
        const auto whole = duration_cast<seconds>(since_epoch);
        setting.it_value.tv_sec = static_cast<time_t>(whole.count());
        setting.it_value.tv_nsec = static_cast<long>(duration_cast<nanoseconds>(since_epoch - whole).count());
        // Time zero would disarm it; a due time before the epoch is simply due now.
        if (setting.it_value.tv_sec <= 0) setting.it_value = {0, 1};
    }
    timerfd_settime(fd_, TFD_TIMER_ABSTIME, &setting, nullptr);
}

bool AlarmTimer::read() {
    std::uint64_t expirations = 0;
    return ::read(fd_, &expirations, sizeof expirations) == sizeof expirations;
}

}  // namespace host
