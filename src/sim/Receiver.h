#pragma once
// The infrared receiver's output line: high while no light arrives, low during each
// pulse of light, so a mark reads as the carrier toggling the line at its period and
// duty cycle. It plays one button press (InfraredPress) per driver session: the press
// queued for the handheld is taken when the line is first sampled in the session, and
// starts its `after_ns` later. Without a press the line stays idle.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "sim/InfraredPress.h"

namespace sim {

class Receiver {
public:
    static constexpr std::int64_t kNever = INT64_MAX;
    // An idle poll of the line moves the clock at most this far at once: a capture that
    // also watches the high-resolution counter for its 20 s deadline sees the deadline
    // within a millisecond, and a wait with nothing to receive costs 20 000 polls.
    static constexpr std::int64_t kPollStepNs = 1'000'000;
    using Source = std::function<std::optional<InfraredPress>()>;

    // Where queued presses come from (the host's queue); none by default.
    void set_source(Source source) { source_ = std::move(source); }
    // A new driver session: the press played so far is forgotten and the next sample
    // takes the queued one.
    void new_session();
    // A sample of the line at `ns`: takes the queued press on the first one.
    bool sample_high(std::int64_t ns);
    // Plays `press` from `ns` on (tests and the first sample).
    void load(const InfraredPress& press, std::int64_t ns);

    bool high(std::int64_t ns) const;
    // When a poll of the line at `ns` should next look: its next change of level, at
    // most kPollStepNs away.
    std::int64_t next_edge(std::int64_t ns) const;
    // The first start of a pulse (falling edge) strictly after `ns`, or kNever.
    std::int64_t next_fall(std::int64_t ns) const;
    // When the last pulse of the press ends (kNever-free: 0 when nothing plays).
    std::int64_t end_ns() const;

private:
    // Pulses start at start + k × period for every k with that start before `end`.
    struct Burst {
        std::int64_t start = 0;
        std::int64_t end = 0;
        std::int64_t pulses = 0;
    };
    void take(std::int64_t ns);
    std::int64_t next_level_change(std::int64_t ns) const;
    // The burst holding `ns` or the first after it (index into bursts_).
    std::size_t burst_from(std::int64_t ns) const;

    Source source_;
    bool taken_ = false;
    std::vector<Burst> bursts_;
    std::int64_t period_ns_ = 1;
    std::int64_t on_ns_ = 0;
};

}  // namespace sim
