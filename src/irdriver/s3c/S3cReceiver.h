#pragma once
// Capture on the S3C24xx: the receive pin of the infrared UART (GPH3, GPH5 or GPH7 by
// UART index) made an input, timed by a borrowed PWM timer (16-bit, reloaded from
// 65535) whose reloads are counted through its pending bit; the timer starts with the
// first light. Entries and the carrier are recorded in ticks and converted to µs with
// the timer's rate at the end. Every register changed is put back before Capture returns.

#include <cstdint>

#include "irdriver/learn/EdgeCapture.h"

class PwmTimer;

class S3cReceiver : private CaptureCounter {
public:
    struct Pages {
        ce::RegisterPage timers, gpio, interrupts;
    };
    struct Result {
        int code;
        std::uint16_t carrierUs;
    };

    S3cReceiver(const Pages& pages, int uartIndex, std::uint32_t ticksPerMs);

    Result Capture(std::int32_t* buffer, const LearnDeadline& deadline);

private:
    std::uint32_t Now() override;
    bool Silent(std::uint32_t lastEdge) override;

    Pages pages_;
    int uart_;
    std::uint32_t ticksPerMs_;
    const PwmTimer* timer_ = nullptr;
    std::uint32_t reloadTicks_ = 0;
};
