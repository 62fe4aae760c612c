#pragma once
// One press of a remote control's button, as the receiver plays it: the lead-in sent
// once, then the repeat frame sent over and over while the button is held, then nothing.
// Durations are signed microseconds (positive = carrier on).

#include <cstdint>
#include <vector>

namespace sim {

struct InfraredPress {
    std::vector<std::int32_t> intro;
    std::vector<std::int32_t> repeat;
    std::uint32_t carrier_hz = 38'000;
    unsigned duty_percent = 33;  // share of each carrier period the light is on
    std::int64_t after_ns = 0;   // from the moment the receiver is first sampled
    std::int64_t hold_ns = 0;    // the button is held this long from its first mark
};

}  // namespace sim
