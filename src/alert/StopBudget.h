#pragma once
// How long an unanswered alarm keeps going off: an hour, spent as each repeat arrives.
// The hour is counted on the handheld's tick count, which only runs forward: a clock set
// back or forward while the alarm rings, or midnight passing, neither ends the alarm
// early nor keeps it going longer.

#include "ce/Types.h"

class StopBudget {
public:
    static constexpr int kMinutes = 60;

    // `now_ms`: the tick count (ce::GetTickCount) when the alarm was fired.
    explicit StopBudget(ce::DWORD now_ms) { Restart(now_ms); }

    // A full hour again from `now_ms` (a different alarm is being shown).
    void Restart(ce::DWORD now_ms);
    // False once the hour since the firing is used up.
    bool Spend(ce::DWORD now_ms) const;

private:
    ce::DWORD started_ms_ = 0;
};
