#pragma once
// A zone's rule for the years after its last listed change, as a tz database file ends
// with it: "CET-1CEST,M3.5.0,M10.5.0/3", a TZ value of POSIX with the tz database's
// extensions (quoted names like "<+03>", rule times from -167 to 167 hours).

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace host {

class PosixZoneRule {
public:
    // A change of the offset: from `at` (UTC seconds since 1970) on, the wall clock is
    // `offset` seconds ahead of UTC.
    struct Change {
        std::int64_t at = 0;
        std::int32_t offset = 0;
    };

    // Nothing for a text that is not such a rule, or that names daylight saving without
    // saying when it starts and ends.
    static std::optional<PosixZoneRule> parse(std::string_view text);

    std::int32_t standard_offset() const { return standard_offset_; }
    // The changes of one year in the order they happen; none for a zone without daylight saving.
    std::vector<Change> changes_in(int year) const;

private:
    struct Day {
        enum class Kind { julian_without_leap_day, julian_from_zero, month_week_weekday } kind;
        int number = 0;  // the day of the year, or the month
        int week = 0;
        int weekday = 0;
    };
    struct Transition {
        Day day;
        std::int32_t time = 2 * 3600;  // wall-clock seconds after the day's midnight
    };

    static std::optional<std::int32_t> parse_offset(std::string_view& text);
    static std::optional<Transition> parse_transition(std::string_view& text);
    static std::int64_t local_seconds(int year, const Transition& transition);

    std::int32_t standard_offset_ = 0;
    std::int32_t daylight_offset_ = 0;
    bool has_daylight_saving_ = false;
    Transition start_{};
    Transition end_{};
};

}  // namespace host
