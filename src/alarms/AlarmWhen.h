#pragma once
// When one alarm file wants to go off: the weekdays it may go off on and its time of
// day, either its pending repeat or its alarm time.

#include <cstdint>
#include <optional>

#include "alarms/CAlarmDB.h"
#include "ce/Time.h"

class AlarmWhen {
public:
    // Days: bit 0 Monday ... bit 5 Saturday, bit 6 Sunday; 0 is once.
    static constexpr std::uint8_t kOnce = 0x00;
    static constexpr std::uint8_t kEveryDay = 0x7F;

    // Nothing for a file the scheduler skips: not armed and no pending repeat, no
    // AlarmTime or Days, or an alarm time or days that cannot exist (hour 24 and over,
    // minute 60 and over, the unused bit 7 of Days). A repeat time that cannot exist
    // counts as no pending repeat.
    static std::optional<AlarmWhen> FromFile(CAlarmDB& alarm);
    static AlarmWhen At(std::uint8_t weekdays, int hour, int minute, int second);
    bool is_repeat() const { return repeat_; }

    // The first instant (whole UTC seconds) not before `now` at this time of day on an
    // allowed weekday, starting with the date of `today` (the local date at `now`) and
    // looking 7 days on from the first such time still ahead. An alarm rings at the first
    // of two instants a repeated hour gives its time; a pending repeat, which is an instant
    // some minutes on, at the second too when the first has passed.
    std::optional<std::int64_t> NextAfter(std::int64_t now, const ce::SYSTEMTIME& today) const;

    bool Allows(ce::WORD day_of_week) const;  // 0 = Sunday, as SYSTEMTIME counts
    std::uint8_t weekdays() const { return weekdays_; }
    int hour() const { return hour_; }
    int minute() const { return minute_; }
    int second() const { return second_; }

private:
    AlarmWhen(std::uint8_t weekdays, int hour, int minute, int second, bool repeat = false)
        : weekdays_(weekdays), hour_(hour), minute_(minute), second_(second), repeat_(repeat) {}
    std::optional<std::int64_t> InstantOn(const ce::SYSTEMTIME& today, int days_ahead, std::int64_t now) const;

    std::uint8_t weekdays_;
    int hour_;
    int minute_;
    int second_;
    bool repeat_;
};
