#pragma once
// What tells the notification service that the computer's clock was set, and how far:
// ComputerClockSteps on a real computer; a test drives a stand-in of its own, so that
// nothing moves the machine's clock.

#include <chrono>
#include <optional>

namespace host {

class ClockSteps {
public:
    // Steps smaller than this are not a change of the clock a person would see (a
    // resume from suspend puts the wall clock back within milliseconds of it).
    static constexpr std::chrono::milliseconds kNoticed{1000};

    virtual ~ClockSteps() = default;

    // For poll(): readable once the clock may have been set.
    virtual int fd() const = 0;
    // How far the clock was set since it was last asked (ahead when positive); nothing
    // when it was not. Asked after every wake-up, whatever woke the service.
    virtual std::optional<std::chrono::milliseconds> take() = 0;
};

}  // namespace host
