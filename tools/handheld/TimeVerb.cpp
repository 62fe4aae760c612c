#include "TimeVerb.h"

#include "ClockText.h"
#include "ce/Notify.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/clock/ComputerZone.h"
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
    follow_ = command.add_subcommand("follow", "keep this computer's clock and zone again");
    describe(
        "Shows or sets the handheld's local time, in its own time zone (see `handheld tz`).\n"
        "A new handheld follows this computer: its clock is the computer's, in the zone $TZ\n"
        "names, else the one /etc/localtime names, and a step of the computer's clock or a\n"
        "change of its zone raises the handheld's time-change or time-zone-change event.\n"
        "`time set` and `tz set` give it a clock of its own; `time follow` takes the\n"
        "computer's again (a change of clock and zone like the others).\n"
        "A time of day alone keeps the handheld's date. A local time that the zone skips\n"
        "when daylight saving starts cannot be set, nor a year before 1900 or after 2199.\n"
        "Setting it raises the time-change event: the notification service starts the\n"
        "programs registered for it. A registered time that the clock is set forward past is\n"
        "not started, unless the time set is at most 15 seconds past it; the programs of the\n"
        "event register what is next.");
    command.footer(
        "examples:\n"
        "  handheld time set \"2024-03-05 06:59:30\"\n"
        "  handheld time set 07:00\n"
        "  handheld time follow\n"
        "  handheld time show");
}

ExitCode TimeVerb::run(Console& console) {
    if (follow_->parsed()) return follow(console);
    if (!set_->parsed()) return show(console);
    if (const auto extra = set_->remaining(); !extra.empty())
        return console.usage("unexpected argument '" + extra.front() + "' (quote a date and time as one word)");
    return set(text_, console);
}

ExitCode TimeVerb::show(Console& console) {
    ce::SYSTEMTIME now;
    ce::GetLocalTime(&now);
    console.out() << format_local_time(now) << ' ' << weekday_name(now.wDayOfWeek) << ' ' << zone_text() << '\n';
    console.out() << "clock: " << console.called(clock_source_text()) << '\n';
    return ExitCode::ok;
}

ExitCode TimeVerb::follow(Console& console) {
    const auto computer = host::ComputerZone::current();
    const auto moved = host::ClockChange::follow_computer(computer);
    if (!moved) return console.fail("cannot write the handheld's clock settings");
    const host::ServiceLink link(host::Device::current());
    std::string failure;
    if (moved->zone && !link.see_to(ce::NOTIFICATION_EVENT_TZ_CHANGE, &failure))
        return console.fail("the handheld follows this computer; the programs registered for a zone change start once the "
                            "notification service runs, which it does not: " + failure);
    if (moved->clock && !link.see_to(ce::NOTIFICATION_EVENT_TIME_CHANGE, &failure))
        return console.fail("the handheld follows this computer; the programs registered for a time change start once the "
                            "notification service runs, which it does not: " + failure);
    return show(console);
}

ExitCode TimeVerb::set(const std::string& text, Console& console) {
    ce::SYSTEMTIME today;
    ce::GetLocalTime(&today);
    const auto wanted = parse_local_time(text, today);
    if (!wanted)
        return console.usage("'" + text + "' is not a valid local time; write \"YYYY-MM-DD HH:MM[:SS]\" or HH:MM[:SS]");
    if (!host::clock_holds(*wanted))
        return console.usage(format_local_time(*wanted) + " is beyond the handheld's clock, which holds " +
                             std::to_string(host::kEarliestClockYear) + "-01-01 00:00:00 to " +
                             std::to_string(host::kLatestClockYear) + "-12-31 23:59:59");
    const bool followed = host::clock_settings().follows_computer();
    if (!host::ClockChange::set_local_time(*wanted))
        return console.fail(format_local_time(*wanted) + " does not exist in time zone " + host::clock_settings().zone);
    std::string failure;
    if (!host::ServiceLink(host::Device::current()).see_to(ce::NOTIFICATION_EVENT_TIME_CHANGE, &failure))
        return console.fail("the clock is set; the programs registered for a time change start once the notification service "
                            "runs, which it does not: " +
                            failure);
    if (followed) console.out() << console.called(kOwnClockNotice) << '\n';
    return show(console);
}

}  // namespace handheld
