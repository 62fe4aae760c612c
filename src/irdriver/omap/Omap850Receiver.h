#pragma once
// Capture on the OMAP850: the receiver's line on MPU GPIO pin 0x40 (DATA_INPUT), taken
// as an interrupt-masked input with the pin multiplexing given to the GPIO bank, timed
// by a borrowed free-running MPU timer at 6.48 ticks per µs. Entries and the carrier are
// recorded in ticks and converted to µs at the end. Every register changed is put back
// before Capture returns.

#include <cstdint>

#include "irdriver/learn/EdgeCapture.h"

class Omap850Receiver : private CaptureCounter {
public:
    struct Pages {
        ce::RegisterPage timers, gpio, configuration;
    };
    struct Result {
        int code;
        std::uint16_t carrierUs;
    };

    explicit Omap850Receiver(const Pages& pages) : pages_(pages) {}

    Result Capture(std::int32_t* buffer, const LearnDeadline& deadline);

private:
    std::uint32_t Now() override;
    bool Silent(std::uint32_t lastEdge) override;

    Pages pages_;
    ce::DWORD timerRead_ = 0;
};
