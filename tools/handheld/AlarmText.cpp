#include "AlarmText.h"

#include <array>

#include "Arguments.h"

namespace handheld {

namespace {

constexpr std::array<const char*, 7> kDayNames = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr std::uint8_t kEveryDay = 0x7F;
constexpr std::uint8_t kWeekdays = 0x1F;
constexpr std::uint8_t kWeekend = 0x60;

std::optional<std::uint8_t> day_bit(std::string_view word) {
    for (std::size_t day = 0; day < kDayNames.size(); ++day)
        if (same_word(word, kDayNames[day])) return static_cast<std::uint8_t>(1u << day);
    return std::nullopt;
}

}  // namespace

std::optional<std::uint8_t> AlarmText::ParseDays(std::string_view text) {
    if (same_word(text, "once")) return std::uint8_t{0};
    if (same_word(text, "daily")) return kEveryDay;
    if (same_word(text, "weekdays")) return kWeekdays;
    if (same_word(text, "weekend")) return kWeekend;
    std::uint8_t days = 0;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const auto bit = day_bit(text.substr(0, comma));
        if (!bit) return std::nullopt;
        days |= *bit;
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    if (days == 0) return std::nullopt;
    return days;
}

std::string AlarmText::FormatDays(std::uint8_t days) {
    if (days == 0) return "once";
    if ((days & kEveryDay) == kEveryDay) return "daily";
    if (days == kWeekdays) return "weekdays";
    if (days == kWeekend) return "weekend";
    std::string text;
    for (std::size_t day = 0; day < kDayNames.size(); ++day) {
        if ((days >> day & 1) == 0) continue;
        if (!text.empty()) text += ',';
        text += kDayNames[day];
    }
    return text;
}

std::optional<std::pair<int, int>> AlarmText::ParseTimeOfDay(std::string_view text) {
    if (text.size() != 5 || text[2] != ':') return std::nullopt;
    const auto digit = [&](std::size_t at) { return text[at] >= '0' && text[at] <= '9' ? text[at] - '0' : -1; };
    for (const std::size_t at : {0, 1, 3, 4})
        if (digit(at) < 0) return std::nullopt;
    const int hour = digit(0) * 10 + digit(1);
    const int minute = digit(3) * 10 + digit(4);
    if (hour > 23 || minute > 59) return std::nullopt;
    return std::make_pair(hour, minute);
}

std::string AlarmText::TimeOfDay(int hour, int minute) {
    const auto two = [](int value) { return std::string(value < 10 ? "0" : "") + std::to_string(value); };
    return two(hour) + ':' + two(minute);
}

}  // namespace handheld
