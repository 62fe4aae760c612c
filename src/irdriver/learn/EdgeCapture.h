#pragma once
// The capture every family but the OMAP1510 runs on its receive line and counter:
// wait for the first light (20 s), measure the carrier over four periods, then record
// bursts and pauses until silence, the fourth long gap, a full buffer or an over-long
// mark. Family differences are the units and limits in Rules, the counter, and what
// the family does once light has been seen (onActivity).

#include <cstdint>
#include <functional>

#include "irdriver/learn/BurstRecorder.h"
#include "irdriver/learn/LearnDeadline.h"
#include "irdriver/learn/ReceiveLine.h"

class CaptureCounter {
public:
    virtual ~CaptureCounter() = default;
    // Ticks counting up (a down-counter is read inverted); 32-bit wrap.
    virtual std::uint32_t Now() = 0;
    // Whether the recording ends: tested while the line is dark after the edge at lastEdge.
    virtual bool Silent(std::uint32_t lastEdge) = 0;
};

class EdgeCapture {
public:
    struct Rules {
        // Carrier period in entry units = four-period ticks × scale / divisor; too slow from slowFrom.
        std::int64_t carrierScale, carrierDivisor, slowFrom;
        BurstRecorder::Rules recording;
        bool markLimitFails;  // an over-long mark gives 6 rather than ending the recording
    };
    struct Result {
        int code;
        std::int64_t period;              // carrier period, entry units, to the nearest
        std::uint32_t fourPeriods = 0;    // the carrier's measure: four periods, in ticks
    };

    // The carrier period to the nearest whole microsecond: a period kept in whole
    // microseconds is at most half of one off, within 1 % up to 56 kHz and beyond,
    // where cutting the fraction off made a 40 kHz carrier 41 667 Hz.
    static std::uint16_t CarrierUs(std::uint32_t fourPeriodTicks, std::int64_t ticksPerMs);

    EdgeCapture(const ReceiveLine& line, CaptureCounter& counter, const Rules& rules)
        : line_(line), counter_(counter), rules_(rules) {}

    // buffer: BurstRecorder::kEntries entries, zeroed.
    Result Run(std::int32_t* buffer, const LearnDeadline& deadline, const std::function<void()>& onActivity);

private:
    const ReceiveLine& line_;
    CaptureCounter& counter_;
    Rules rules_;
};
