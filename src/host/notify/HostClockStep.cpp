#include "host/notify/HostClockStep.h"

#include <time.h>

namespace host {

namespace {

std::chrono::nanoseconds boot_time() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

}  // namespace

void HostClockStep::sample() {
    wall_ = std::chrono::system_clock::now();
    boot_ = boot_time();
}

std::chrono::milliseconds HostClockStep::measure() const {
    const auto wall_passed = std::chrono::system_clock::now() - wall_;
    const auto really_passed = boot_time() - boot_;
    return std::chrono::duration_cast<std::chrono::milliseconds>(wall_passed - really_passed);
}

}  // namespace host
