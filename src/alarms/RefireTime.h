#pragma once
// When an alarm that has gone off goes off again: the time of day stored as its pending
// repeat when it fires unanswered or is snoozed, and the rule by which a stored repeat
// counts as pending at all. Both programs and the scheduler keep to this one rule.

#include "ce/Time.h"

class RefireTime {
public:
    // A stored repeat whose hour and minute are both 0 is no pending repeat.
    static bool Pending(int hour, int minute) { return hour != 0 || minute != 0; }

    // `minutes` (0..1439) after the local time `now`, within the day, at second 0.
    // Midnight itself would read as no repeat and the unanswered alarm would never ring
    // again; it is moved on to 00:01, the first time of day that counts.
    static RefireTime After(const ce::SYSTEMTIME& now, int minutes);

    int hour() const { return hour_; }
    int minute() const { return minute_; }
    int second() const { return 0; }

private:
    RefireTime(int hour, int minute) : hour_(hour), minute_(minute) {}

    int hour_;
    int minute_;
};
