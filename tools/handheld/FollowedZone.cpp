#include "FollowedZone.h"

#include "ce/Notify.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/clock/ComputerZone.h"
#include "host/notify/ClockChange.h"
#include "host/notify/ServiceLink.h"

namespace handheld {

void FollowedZone::follow_tz(Console& console) {
    const auto settings = host::clock_settings();
    if (!settings.follows_computer()) return;
    if (const std::string refusal = host::ComputerZone::tz_refusal(); !refusal.empty()) {
        console.note(refusal + "; the handheld keeps the zone " + settings.zone);
        return;
    }
    const auto zone = host::ComputerZone::named_by_tz();
    if (!zone || *zone == settings.zone) return;
    if (!host::ClockChange::follow_computer({*zone, true})) {
        console.note("cannot take the zone " + *zone + " that TZ names; the handheld keeps " + settings.zone);
        return;
    }
    console.note("the handheld follows this computer: it takes the zone " + *zone + " that TZ names (it was " +
                 settings.zone + ")");
    std::string failure;
    if (!host::ServiceLink(host::Device::current()).see_to(ce::NOTIFICATION_EVENT_TZ_CHANGE, &failure))
        console.note("the programs registered for a zone change start once the notification service runs: " +
                     failure);
}

}  // namespace handheld
