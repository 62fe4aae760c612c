#pragma once
// The free-running 32-bit up-counter OSCR of the Intel and StrongARM OS timer, as the
// engines busy-wait on it. Every wait compares the signed difference to its target, so
// a target that wrapped past 2^32 before the counter did is still waited for, and a
// counter that already passed its target ends the wait at once.

#include <cstdint>

#include "ce/Memory.h"

class OsTimerCounter {
public:
    static constexpr ce::DWORD kOscr = 0x10;

    explicit OsTimerCounter(const ce::RegisterPage& timer) : timer_(timer) {}

    std::uint32_t Now() const { return timer_.read32(kOscr); }
    void WaitUntil(std::uint32_t target) const { timer_.WaitUpCount(kOscr, 0xFFFFFFFF, target); }
    // Waits `ticks` from now, any length, in steps the signed comparison can tell apart.
    void WaitTicks(std::uint64_t ticks) const;

private:
    ce::RegisterPage timer_;
};
