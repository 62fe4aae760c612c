#pragma once
// What wakes the notification service, one datagram each: "changed" (the notification
// database or the clock changed: work out the next due time again), "event N" (the
// clock, N = 1, or the time zone, N = 12, was changed: start the programs registered
// for it; the handheld's own changes record their event in the database instead, and
// only wake the service with "changed"), and "stop".

#include <optional>
#include <string>
#include <string_view>

#include "ce/Types.h"

namespace host {

struct ServiceDatagram {
    enum class Kind { changed, event, stop };
    Kind kind = Kind::changed;
    ce::LONG event = 0;

    static ServiceDatagram changed() { return {Kind::changed, 0}; }
    static ServiceDatagram raised(ce::LONG event) { return {Kind::event, event}; }
    static ServiceDatagram stop() { return {Kind::stop, 0}; }

    std::string text() const;
    // Nothing for anything but the messages above with a known event.
    static std::optional<ServiceDatagram> parse(std::string_view text);
};

}  // namespace host
