#pragma once
// Time arithmetic for scheduling by the handheld's wall clock: instants are whole seconds
// of UTC (counted from 1601), days are added to calendar dates, never as 86 400 seconds,
// so that an alarm keeps its time of day across a daylight-saving change.

#include <cstdint>
#include <optional>

#include "ce/Time.h"

class WallClock {
public:
    // The handheld's UTC now, and its local date and time at that same instant.
    struct Now {
        std::int64_t utc = 0;
        ce::SYSTEMTIME local;
    };
    static Now Read();

    static std::optional<std::int64_t> Seconds(const ce::SYSTEMTIME& utc);
    // Nothing for the local time of an instant outside the calendar.
    static std::optional<ce::SYSTEMTIME> LocalOf(std::int64_t utc);
    // The instant the local clock reads `local`: a time skipped by the clock going
    // forward is read shifted forward by the gap (02:10 in an hour skipped at 02:00 is
    // 03:10), so two alarms in that hour keep their order and stay apart; of a time it
    // reads twice, the first.
    static std::optional<std::int64_t> InstantOf(const ce::SYSTEMTIME& local);
    // Of a time the clock reads twice (the hour repeated when daylight saving ends), the
    // second instant; nothing for any other time.
    static std::optional<std::int64_t> SecondInstantOf(const ce::SYSTEMTIME& local);
    // The calendar date `days` after that of `date` (its time of day and day of week
    // set to match); nothing outside the calendar.
    static std::optional<ce::SYSTEMTIME> AddDays(const ce::SYSTEMTIME& date, int days);
};
