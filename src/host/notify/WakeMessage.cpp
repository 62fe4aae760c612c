#include "host/notify/WakeMessage.h"

#include <charconv>

#include "ce/Notify.h"

namespace host {

namespace {

constexpr std::string_view kChanged = "changed";
constexpr std::string_view kStop = "stop";
constexpr std::string_view kEvent = "event ";
constexpr std::string_view kStepped = "clock-stepped ";
// A step beyond the years the clock holds is no step anyone made.
constexpr std::int64_t kLongestStepMs = std::int64_t{400} * 366 * 24 * 3600 * 1000;

}  // namespace

std::string WakeMessage::text() const {
    switch (kind) {
    case Kind::changed:
        return std::string(kChanged);
    case Kind::stop:
        return std::string(kStop);
    case Kind::clock_stepped:
        return std::string(kStepped) + std::to_string(step_ms);
    case Kind::event:
        break;
    }
    return std::string(kEvent) + std::to_string(event);
}

std::optional<WakeMessage> WakeMessage::parse(std::string_view text) {
    if (text == kChanged) return changed();
    if (text == kStop) return stop();
    if (text.starts_with(kStepped)) {
        const std::string_view number = text.substr(kStepped.size());
        std::int64_t step = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), step);
        if (error != std::errc{} || end != number.data() + number.size() || number.empty() || step > kLongestStepMs ||
            step < -kLongestStepMs)
            return std::nullopt;
        return stepped(step);
    }
    if (!text.starts_with(kEvent)) return std::nullopt;
    const std::string_view number = text.substr(kEvent.size());
    if (number == "1") return raised(ce::NOTIFICATION_EVENT_TIME_CHANGE);
    if (number == "12") return raised(ce::NOTIFICATION_EVENT_TZ_CHANGE);
    return std::nullopt;
}

}  // namespace host
