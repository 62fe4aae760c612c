#include "TimeVerb.h"

#include "ClockText.h"
#include "ce/Notify.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/notify/ClockChange.h"
#include "host/notify/ServiceLink.h"

namespace handheld {

void TimeVerb::declare(CLI::App& command) {
    command.require_subcommand(1);
    command.add_subcommand("show", "the local date and time, weekday and zone");
    set_ = command.add_subcommand("set", "set the local time");
    set_->add_option("TIME", text_, "\"YYYY-MM-DD HH:MM[:SS]\", or HH:MM[:SS] on the handheld's date")->required();
    // A date and time left unquoted arrive as two words; the check names the fix.
    set_->allow_extras();
    describe(
        "Shows or sets the handheld's local time, in its own time zone (see `handheld tz`).\n"
        "A time of day alone keeps the handheld's date. A local time that the zone skips\n"
        "when daylight saving starts cannot be set. Setting it raises the time-change event:\n"
        "the notification service starts the programs registered for it. A registered time\n"
        "that the clock is set forward past is not started, unless the time set is at most\n"
        "15 seconds past it; the programs of the event register what is next.");
    command.footer(
        "examples:\n"
        "  handheld time set \"2024-03-05 06:59:30\"\n"
        "  handheld time set 07:00\n"
        "  handheld time show");
}

ExitCode TimeVerb::run(Console& console) {
    if (!set_->parsed()) return show(console);
    if (const auto extra = set_->remaining(); !extra.empty())
        return console.usage("unexpected argument '" + extra.front() + "' (quote a date and time as one word)");
    return set(text_, console);
}

ExitCode TimeVerb::show(Console& console) {
    ce::SYSTEMTIME now;
    ce::GetLocalTime(&now);
    console.out() << format_local_time(now) << ' ' << weekday_name(now.wDayOfWeek) << ' ' << zone_text() << '\n';
    return ExitCode::ok;
}

ExitCode TimeVerb::set(const std::string& text, Console& console) {
    ce::SYSTEMTIME today;
    ce::GetLocalTime(&today);
    const auto wanted = parse_local_time(text, today);
    if (!wanted)
        return console.usage("'" + text + "' is not a valid local time; write \"YYYY-MM-DD HH:MM[:SS]\" or HH:MM[:SS]");
    if (!host::ClockChange::set_local_time(*wanted))
        return console.fail(format_local_time(*wanted) + " does not exist in time zone " + host::clock_settings().zone);
    std::string failure;
    if (!host::ServiceLink(host::Device::current()).raise(ce::NOTIFICATION_EVENT_TIME_CHANGE, &failure))
        return console.fail("the clock is set, but the programs registered for a time change were not started: " +
                            failure);
    return show(console);
}

}  // namespace handheld
