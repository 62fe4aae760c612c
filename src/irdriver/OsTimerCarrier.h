#pragma once
// The carrier half periods of the OS-timer families, in counter ticks, kept process-wide
// as the mark routines read them. A period in ticks is rounded up when its fraction
// exceeds 0.4, so the carrier errs fast rather than slow; the high half takes the odd
// tick, keeping the duty cycle at or just over 50 %.

#include <cstdint>

class OsTimerCarrier {
public:
    static constexpr float kSa11x0TicksPerUs = 3.6864f;  // PXA250/255/26x and SA-11x0

    static void Set(float ticks);
    static std::uint32_t High() { return high_; }
    static std::uint32_t Low() { return low_; }
    // The rounding rule alone: up above .4, else down.
    static std::uint32_t Round(float ticks);

private:
    static inline std::uint32_t high_ = 0;
    static inline std::uint32_t low_ = 0;
};
