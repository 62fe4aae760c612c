#include "host/notify/ServiceDatagram.h"

#include "ce/Notify.h"

namespace host {

namespace {

constexpr std::string_view kChanged = "changed";
constexpr std::string_view kStop = "stop";
constexpr std::string_view kEvent = "event ";

}  // namespace

std::string ServiceDatagram::text() const {
    switch (kind) {
    case Kind::changed:
        return std::string(kChanged);
    case Kind::stop:
        return std::string(kStop);
    case Kind::event:
        break;
    }
    return std::string(kEvent) + std::to_string(event);
}

std::optional<ServiceDatagram> ServiceDatagram::parse(std::string_view text) {
    if (text == kChanged) return changed();
    if (text == kStop) return stop();
    if (!text.starts_with(kEvent)) return std::nullopt;
    const std::string_view number = text.substr(kEvent.size());
    if (number == "1") return raised(ce::NOTIFICATION_EVENT_TIME_CHANGE);
    if (number == "12") return raised(ce::NOTIFICATION_EVENT_TZ_CHANGE);
    return std::nullopt;
}

}  // namespace host
