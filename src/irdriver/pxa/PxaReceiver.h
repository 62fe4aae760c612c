#pragma once
// The receive pin of the PXA's infrared UART (GPIO34, GPIO42 or GPIO46 by UART index)
// taken over as a plain GPIO input for a capture on OSCR; once light is seen only OS
// timer match 0 may interrupt. Every register changed is put back before Capture returns.

#include <cstdint>

#include "irdriver/learn/OsTimerCapture.h"

class PxaReceiver {
public:
    struct Pages {
        ce::RegisterPage timer, gpio, interrupts;
    };

    // uartIndex 1..3; ticksPerMs is the OS timer's rate (3686 or 3250).
    PxaReceiver(const Pages& pages, int uartIndex, std::uint32_t ticksPerMs);

    EdgeCapture::Result Capture(std::int32_t* buffer, const LearnDeadline& deadline);

private:
    Pages pages_;
    int uart_;
    std::uint32_t ticksPerMs_;
};
