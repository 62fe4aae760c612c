#pragma once
// Steps of the computer's clock (date -s, NTP after a resume, timedatectl set-time). A
// timer of their own, armed once at the end of time with TFD_TIMER_CANCEL_ON_SET, is
// cancelled by every step and never armed again, so no re-arm of the service's alarm
// timer can use a step up unseen. How far: the wall clock's lead over the boot-time clock
// (which no one sets and which, unlike the monotonic clock, also counts a suspend) against
// the lead it had when last asked; both run at the same rate, so only a step moves it.
// The lead is also looked at without the timer: the kernel moves the service's alarm
// timer with the clock a moment before it cancels this one, and the alarm timer's
// wake-up must not start what the step jumped over.

#include "host/notify/ClockSteps.h"

namespace host {

class ComputerClockSteps : public ClockSteps {
public:
    ComputerClockSteps();
    ~ComputerClockSteps() override;
    ComputerClockSteps(const ComputerClockSteps&) = delete;
    ComputerClockSteps& operator=(const ComputerClockSteps&) = delete;

    bool ok() const { return fd_ >= 0; }
    int fd() const override { return fd_; }
    std::optional<std::chrono::milliseconds> take() override;

private:
    int fd_ = -1;
    std::chrono::nanoseconds lead_{};
};

}  // namespace host
