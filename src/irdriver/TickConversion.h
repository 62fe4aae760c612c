#pragma once
// Durations between microseconds and counter ticks: value × numerator / denominator,
// toward zero, worked in 64 bits and held to what the stored field can take. A long
// space then stays a long space instead of wrapping into a mark (an OMAP850 space over
// about 331 s would), and a carrier period cannot wrap into a short one.

#include <cstdint>

class TickConversion {
public:
    // Held to ±(2^31 − 1), so the sign of the entry (mark or space) always survives.
    static std::int32_t Scale(std::int64_t value, std::int64_t numerator, std::int64_t denominator);
    // A period held to 0..65535.
    static std::uint16_t ScalePeriod(std::int64_t value, std::int64_t numerator, std::int64_t denominator);
};
