#include "alarms/AlarmWhen.h"

#include "alarms/RefireTime.h"
#include "alarms/WallClock.h"

namespace {

constexpr int kDaysSearched = 7;

bool valid_time(int hour, int minute, int second) {
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

}  // namespace

AlarmWhen AlarmWhen::At(std::uint8_t weekdays, int hour, int minute, int second) {
    return AlarmWhen(weekdays, hour, minute, second);
}

std::optional<AlarmWhen> AlarmWhen::FromFile(CAlarmDB& alarm) {
    int refire_hour = 0, refire_minute = 0, refire_second = 0;
    if (alarm.GetRefireTime(refire_hour, refire_minute, refire_second) != CAlarmDB::kOk ||
        !valid_time(refire_hour, refire_minute, refire_second))
        refire_hour = refire_minute = refire_second = 0;
    // A pending repeat keeps an alarm in the running although it is inactive: that is how
    // a one-time alarm that has gone off, and was disarmed by Alert, still repeats.
    const bool pending = RefireTime::Pending(refire_hour, refire_minute);
    std::uint8_t active = 0;
    if (alarm.GetActive(active) != CAlarmDB::kOk || (active == 0 && !pending)) return std::nullopt;

    int hour = 0, minute = 0;
    std::uint8_t days = 0;
    if (alarm.GetAlarmTime(hour, minute) != CAlarmDB::kOk || alarm.GetDays(days) != CAlarmDB::kOk) return std::nullopt;
    if (!valid_time(hour, minute, 0) || days > kEveryDay) return std::nullopt;

    if (pending) return AlarmWhen(kEveryDay, refire_hour, refire_minute, refire_second, true);
    return AlarmWhen(days == kOnce ? kEveryDay : days, hour, minute, 0);
}

bool AlarmWhen::Allows(ce::WORD day_of_week) const {
    const int bit = (day_of_week + 6) % 7;  // Monday is bit 0, Sunday bit 6
    return (weekdays_ >> bit & 1) != 0;
}

// The day's instant at this time: the first the clock reads it, or for a repeat whose
// first has passed, the second.
std::optional<std::int64_t> AlarmWhen::InstantOn(const ce::SYSTEMTIME& today, int days_ahead, std::int64_t now) const {
    auto day = WallClock::AddDays(today, days_ahead);
    if (!day) return std::nullopt;
    day->wHour = static_cast<ce::WORD>(hour_);
    day->wMinute = static_cast<ce::WORD>(minute_);
    day->wSecond = static_cast<ce::WORD>(second_);
    day->wMilliseconds = 0;
    const auto first = WallClock::InstantOf(*day);
    if (!repeat_ || !first || *first >= now) return first;
    return WallClock::SecondInstantOf(*day).value_or(*first);
}

std::optional<std::int64_t> AlarmWhen::NextAfter(std::int64_t now, const ce::SYSTEMTIME& today) const {
    if (!valid_time(hour_, minute_, second_) || (weekdays_ & kEveryDay) == 0) return std::nullopt;
    const auto first = InstantOn(today, 0, now);
    const int start = first && *first >= now ? 0 : 1;
    for (int ahead = start; ahead < start + kDaysSearched; ++ahead) {
        const auto day = WallClock::AddDays(today, ahead);
        if (!day || !Allows(day->wDayOfWeek)) continue;
        const auto instant = InstantOn(today, ahead, now);
        if (instant && *instant >= now) return instant;
    }
    return std::nullopt;
}
