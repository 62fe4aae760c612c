#pragma once
// What a LIRC receiver heard of one button press, from its LIRC_MODE_MODE2 samples,
// as the press the simulated receiver line plays: spaces before the first pulse are the
// quiet before it; pulses and spaces alternate (two of a kind in a row are one); a
// LIRC_MODE2_FREQUENCY sample is the carrier the device measured; the press ends at a
// LIRC_MODE2_TIMEOUT, at a space of kEndSpaceUs or more, at an overflow or when it
// holds kMostEntries, and never ends on a space.

#include <cstdint>
#include <optional>
#include <vector>

#include "sim/InfraredPress.h"

namespace host::hw {

class LircCapture {
public:
    // The shortest silence that ends a recording in any family's learning (PXA, SA-11x0).
    static constexpr std::uint32_t kEndSpaceUs = 200'000;
    // Learning keeps at most 300 entries; a few more than that is all a press needs.
    static constexpr std::size_t kMostEntries = 600;
    static constexpr std::uint32_t kAssumedCarrierHz = 38'000;

    // One sample, read at `arrival_ns`; false once the press is complete.
    bool add(std::uint32_t sample, std::int64_t arrival_ns);
    bool heard() const { return !entries_.empty(); }
    bool done() const { return done_; }
    bool overflowed() const { return overflowed_; }
    std::optional<std::uint32_t> measured_hz() const { return measured_hz_; }
    // When the first pulse began, as far as the samples tell (its end minus its length).
    std::int64_t first_pulse_ns() const { return first_pulse_ns_; }

    // The press, starting `after_ns` after the receiver line is first sampled; at the
    // measured carrier, else 38 kHz.
    sim::InfraredPress press(std::int64_t after_ns) const;

private:
    std::vector<std::int32_t> entries_;
    std::optional<std::uint32_t> measured_hz_;
    std::int64_t first_pulse_ns_ = 0;
    bool done_ = false;
    bool overflowed_ = false;
};

}  // namespace host::hw
