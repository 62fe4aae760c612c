#pragma once
// A remote-control signal as the signal files describe it: the lead-in sent once, the
// frame repeated after it, the carrier and its duty cycle. Durations are signed µs
// (positive = carrier on).

#include <cstdint>
#include <string>
#include <vector>

namespace handheld {

struct InfraredSignal {
    // Bounds every file format is read with.
    static constexpr std::int32_t kLongestEntryUs = 1'000'000;
    static constexpr std::uint32_t kLowestCarrierHz = 10'000, kHighestCarrierHz = 500'000;
    static constexpr std::uint32_t kDefaultCarrierHz = 38'000;
    // The gap closing a frame that ends on a pulse, as ir-ctl adds it.
    static constexpr std::int32_t kClosingGapUs = 125'000;

    std::vector<std::int32_t> intro;
    std::vector<std::int32_t> repeat;
    std::uint32_t carrier_hz = kDefaultCarrierHz;
    unsigned duty_percent = 50;

    // The lead-in followed by the frame, as the driver stores a signal.
    std::vector<std::int32_t> durations() const;
    std::uint16_t carrier_us() const;
    // Gives a frame that ends on a pulse (or a lone lead-in) the closing gap, so that
    // repeated frames stay apart; a note saying so, or empty when nothing was added.
    std::string close_frame();
};

}  // namespace handheld
