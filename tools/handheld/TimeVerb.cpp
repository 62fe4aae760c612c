#include "TimeVerb.h"

#include "ClockText.h"
#include "host/clock/Clock.h"

namespace handheld {

std::string_view TimeVerb::help() const {
    return "usage: handheld time show\n"
           "       handheld time set \"YYYY-MM-DD HH:MM[:SS]\"\n"
           "       handheld time set HH:MM[:SS]\n"
           "\n"
           "Shows or sets the handheld's local time, in its own time zone (see `handheld tz`).\n"
           "A time of day alone keeps the handheld's date. A local time that the zone skips\n"
           "when daylight saving starts cannot be set.\n"
           "\n"
           "examples:\n"
           "  handheld time set \"2024-03-05 06:59:30\"\n"
           "  handheld time set 07:00\n"
           "  handheld time show\n";
}

ExitCode TimeVerb::run(const std::vector<std::string>& arguments, Console& console) {
    if (arguments.empty()) return console.usage("needs show or set");
    if (arguments[0] == "show") {
        if (arguments.size() > 1) return console.usage("unexpected argument '" + arguments[1] + "'");
        return show(console);
    }
    if (arguments[0] == "set") {
        if (arguments.size() < 2) return console.usage("set needs a time, \"YYYY-MM-DD HH:MM[:SS]\" or HH:MM[:SS]");
        if (arguments.size() > 2)
            return console.usage("unexpected argument '" + arguments[2] + "' (quote a date and time as one word)");
        return set(arguments[1], console);
    }
    return console.usage("unknown action '" + arguments[0] + "'; use show or set");
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
    if (!host::set_local_time(*wanted))
        return console.fail(format_local_time(*wanted) + " does not exist in time zone " + host::clock_settings().zone);
    return show(console);
}

}  // namespace handheld
