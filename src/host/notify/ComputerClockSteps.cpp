#include "host/notify/ComputerClockSteps.h"

#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>

namespace host {

namespace {

std::chrono::nanoseconds reading(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

std::chrono::nanoseconds wall_lead() { return reading(CLOCK_REALTIME) - reading(CLOCK_BOOTTIME); }

}  // namespace

ComputerClockSteps::ComputerClockSteps() : lead_(wall_lead()) {
    fd_ = timerfd_create(CLOCK_REALTIME, TFD_CLOEXEC | TFD_NONBLOCK);
    if (fd_ < 0) return;
    itimerspec end_of_time{};
    end_of_time.it_value.tv_sec = std::numeric_limits<time_t>::max();
    if (timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &end_of_time, nullptr) != 0) {
        close(fd_);
        fd_ = -1;
    }
}

ComputerClockSteps::~ComputerClockSteps() {
    if (fd_ >= 0) close(fd_);
}

std::optional<std::chrono::milliseconds> ComputerClockSteps::take() {
    std::uint64_t expirations = 0;
    const bool cancelled = read(fd_, &expirations, sizeof expirations) < 0 && errno == ECANCELED;
    const auto lead = wall_lead();
    const auto step = std::chrono::duration_cast<std::chrono::milliseconds>(lead - lead_);
    if (!cancelled && std::chrono::abs(step) < kNoticed) return std::nullopt;
    lead_ = lead;
    return step;
}

}  // namespace host
