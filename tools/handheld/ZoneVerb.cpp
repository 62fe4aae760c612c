#include "ZoneVerb.h"

#include "ClockText.h"
#include "CompletionWords.h"
#include "ce/Notify.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/notify/ClockChange.h"
#include "host/notify/ServiceLink.h"

namespace handheld {

void ZoneVerb::declare(CLI::App& command) {
    command.require_subcommand(1);
    command.add_subcommand("show", "the zone and its offset from UTC now");
    set_ = command.add_subcommand("set", "change the zone, keeping the handheld's UTC");
    CompletionWords::offer(
        set_->add_option("ZONE", zone_, "a name from the tz database, such as Europe/Berlin, America/New_York or UTC")
            ->required(),
        CompletionWords::kZones);
    describe(
        "Shows the handheld's time zone with its current offset from UTC, or sets it. Setting it\n"
        "raises the time-zone-change event: the notification service starts the programs\n"
        "registered for it. A registered local time that the new zone puts behind the clock is\n"
        "not started: a change of zone never rings an alarm. A handheld that followed this\n"
        "computer keeps a clock of its own from then on (`handheld time follow` goes back).");
    command.footer(
        "examples:\n"
        "  handheld tz set Europe/Berlin\n"
        "  handheld tz show");
}

ExitCode ZoneVerb::run(Console& console) {
    if (!set_->parsed()) return show(console);
    const bool followed = host::clock_settings().follows_computer();
    if (!host::ClockChange::set_time_zone(zone_))
        return console.fail("unknown time zone '" + zone_ + "'; use a tz database name such as Europe/Berlin");
    std::string failure;
    if (!host::ServiceLink(host::Device::current()).see_to(ce::NOTIFICATION_EVENT_TZ_CHANGE, &failure))
        return console.fail("the time zone is set; the programs registered for a zone change start once the notification "
                            "service runs, which it does not: " +
                            failure);
    if (followed) console.out() << console.called(kOwnClockNotice) << '\n';
    return show(console);
}

ExitCode ZoneVerb::show(Console& console) {
    console.out() << zone_text() << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
