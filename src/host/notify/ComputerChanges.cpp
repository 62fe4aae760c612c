#include "host/notify/ComputerChanges.h"

#include <cstdio>
#include <cstdlib>

#include "host/clock/Clock.h"
#include "host/clock/ComputerZone.h"
#include "host/notify/ClockChange.h"
#include "host/notify/ClockSteps.h"

namespace host {

namespace {

std::string seconds_text(std::chrono::milliseconds step) {
    char text[32];
    std::snprintf(text, sizeof text, "%+.3f s", static_cast<double>(step.count()) / 1000.0);
    return text;
}

}  // namespace

void ComputerChanges::clock_stepped(std::chrono::milliseconds step) {
    if (std::chrono::abs(step) < ClockSteps::kNoticed || !clock_settings().follows_computer()) return;
    log_.write("the computer's clock was set " + seconds_text(step));
    if (!ClockChange::computer_clock_stepped(device_utc_now() - step))
        log_.write("could not settle the registrations the computer's clock was set past");
}

void ComputerChanges::zone_may_have_changed() {
    const auto settings = clock_settings();
    // A zone $TZ named stays what it was; only the link's moves.
    if (settings.source != ClockSource::computer) return;
    const auto zone = ComputerZone::of_link(ComputerZone::link());
    // A link being replaced is missing for a moment: the new one comes with its own event.
    if (!zone || *zone == settings.zone) return;
    log_.write("the computer's time zone is now " + *zone + " (was " + settings.zone + ")");
    if (!ClockChange::computer_zone_changed(*zone)) log_.write("could not take the computer's time zone " + *zone);
}

}  // namespace host
