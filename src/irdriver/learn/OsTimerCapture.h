#pragma once
// Capture timed on the OS timer of the PXA and SA-11x0 families (OSCR, counting up at
// ticksPerMs / 1000 per µs): bursts are converted to µs as they are recorded, the
// carrier from four periods (too slow from 101 µs), a recording ends after 200 ms of
// darkness, counts gaps of 20 001 µs or more as long and fails on a mark over 0.8 s.

#include <cstdint>
#include <functional>

#include "irdriver/learn/EdgeCapture.h"

class OsTimerCapture : private CaptureCounter {
public:
    OsTimerCapture(const ce::RegisterPage& timer, const ReceiveLine& line, std::uint32_t ticksPerMs);

    EdgeCapture::Result Run(std::int32_t* buffer, const LearnDeadline& deadline,
                            const std::function<void()>& onActivity);

private:
    std::uint32_t Now() override;
    bool Silent(std::uint32_t lastEdge) override;

    ce::RegisterPage timer_;
    const ReceiveLine& line_;
    std::uint32_t ticksPerMs_;
};
