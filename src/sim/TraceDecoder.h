#pragma once
// Turns LED edges into what an infrared engineer reads: the carrier period and duty
// cycle, and the signal as marks (carrier bursts) and spaces, as LIRC "mode2" text.
//
// A mark runs from its first rising edge to its last falling edge plus one typical
// off-half, so a mark of N carrier cycles measures N periods; a space runs from there
// to the next mark (the last space to the end of the transmission).

#include <cstdint>
#include <string>
#include <vector>

#include "sim/LineTrace.h"

namespace sim {

struct TraceSegment {
    bool mark = false;
    std::int64_t ns = 0;
    std::uint32_t cycles = 0;  // carrier cycles (rising edges) of a mark
};

struct DecodedTrace {
    double period_ns = 0;  // median rising-to-rising interval inside marks
    double duty = 0;       // median on-time / period
    double on_ns = 0;      // median on-time
    std::vector<TraceSegment> segments;

    std::uint32_t carrier_hz() const;
    std::size_t marks() const;
    // "carrier N", then "pulse N" / "space N" in microseconds.
    std::string mode2() const;
};

class TraceDecoder {
public:
    // Off-times longer than this (or longer than twice the period) end a mark.
    static constexpr std::int64_t kLongestCarrierPeriodNs = 250'000;

    static DecodedTrace decode(const Transmission& transmission);
};

}  // namespace sim
