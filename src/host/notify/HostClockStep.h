#pragma once
// How far the computer's clock was stepped (date -s, NTP after a resume, timedatectl
// set-time): the wall clock measured against the boot-time clock, which no one sets and
// which, unlike the monotonic clock, also counts a suspend. Sampled after every wake-up
// of the service, so a step is measured from the last look until it is noticed.

#include <chrono>

namespace host {

class HostClockStep {
public:
    // Steps smaller than this are not a change of the clock a person would see (a
    // resume from suspend puts the wall clock back within milliseconds of it).
    static constexpr std::chrono::milliseconds kNoticed{1000};

    HostClockStep() { sample(); }
    void sample();
    // The wall clock now, less where it would be had nobody set it since the sample.
    std::chrono::milliseconds measure() const;

private:
    std::chrono::system_clock::time_point wall_;
    std::chrono::nanoseconds boot_{};
};

}  // namespace host
