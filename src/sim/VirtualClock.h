#pragma once
// The SoC's own time, in nanoseconds. It moves only when told: by a register access
// (a small fixed cost), by Sleep (the full amount) and by fast-forwarding an idle poll.
// Runs are therefore deterministic whatever the host's load. With pacing on, the clock
// is never allowed to run ahead of the wall clock, so a person watching sees real
// durations; pacing changes how long a run takes, never what it produces.

#include <chrono>
#include <cstdint>

namespace sim {

class VirtualClock {
public:
    static constexpr std::int64_t kAccessCostNs = 50;

    std::int64_t now() const { return now_; }
    void advance(std::int64_t ns);
    // Moves to `ns` if that is later; never goes back.
    void advance_to(std::int64_t ns);

    void set_pacing(bool on);
    bool pacing() const { return pacing_; }

private:
    void pace();

    std::int64_t now_ = 0;
    bool pacing_ = false;
    std::int64_t anchor_virtual_ = 0;
    std::chrono::steady_clock::time_point anchor_wall_{};
    std::int64_t unpaced_ = 0;
};

}  // namespace sim
