#pragma once
// How long an unanswered alarm keeps going off: an hour of the wall clock's minutes,
// spent as each repeat arrives. The clock is read as a time of day, so a repeat after
// midnight counts from the evening before; a last check at exactly midnight counts
// nothing, as that reading cannot be told from no reading.

#include "ce/Time.h"

class StopBudget {
public:
    static constexpr int kMinutes = 60;

    explicit StopBudget(const ce::SYSTEMTIME& now) { Restart(now); }

    // A full hour again from `now` (a different alarm is being shown).
    void Restart(const ce::SYSTEMTIME& now);
    // Spends the minutes since the last check; false when the hour is used up (the
    // last check then stays where it was).
    bool Spend(const ce::SYSTEMTIME& now);
    int Left() const { return left_; }

private:
    int left_ = kMinutes;
    int last_check_ = 0;  // minutes of the day
};
