#pragma once
// Capture on the OMAP1510, timed edge by edge: UART3's wake-up detector flags the first
// start of a light pulse after it is armed, and MPU timer 3 (3.038 ticks per µs,
// counting down) stamps it. Two carrier periods are measured from three edges; an
// interval of six periods or more between edges is a space. Entries and the carrier are
// converted to µs at the end; every register changed is put back before Capture returns.

#include <cstdint>

#include "irdriver/learn/LearnDeadline.h"
#include "irdriver/omap/MpuTimer.h"

class Omap1510Receiver {
public:
    struct Pages {
        ce::RegisterPage uart3, timers;
    };
    struct Result {
        int code;
        std::uint16_t carrierUs;
    };

    explicit Omap1510Receiver(const Pages& pages) : pages_(pages), timer_(pages.timers, 3) {}

    Result Capture(std::int32_t* buffer, const LearnDeadline& deadline);

private:
    void Arm() const;
    void Disarm() const;
    bool EdgeSeen() const;
    // Arms, waits for an edge and stamps it; false once `deadline` has passed.
    bool NextEdge(const LearnDeadline& deadline, std::uint32_t& at) const;
    void Record(std::int32_t* buffer, std::uint32_t twoPeriods, std::uint32_t last) const;

    Pages pages_;
    MpuTimer timer_;
};
