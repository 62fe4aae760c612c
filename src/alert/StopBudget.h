#pragma once
// How long an unanswered alarm keeps going off: an hour, spent as each repeat arrives.
// The hour is counted on the handheld's clock as an instant (UTC seconds), only forward:
// a clock set back while the alarm rings spends nothing (the time after it counts
// again), so it neither ends the alarm early nor wraps at midnight; a zone change
// spends nothing either.

#include <cstdint>

class StopBudget {
public:
    static constexpr int kMinutes = 60;

    // `now`: the handheld's UTC seconds when the alarm was fired.
    explicit StopBudget(std::int64_t now) { Restart(now); }

    // A full hour again from `now` (a different alarm is being shown).
    void Restart(std::int64_t now);
    // Spends the time since the last check; false once the hour is used up.
    bool Spend(std::int64_t now);

private:
    std::int64_t spent_ = 0;  // seconds
    std::int64_t last_check_ = 0;
};
