#include "ZoneVerb.h"

#include "ClockText.h"
#include "host/clock/Clock.h"

namespace handheld {

std::string_view ZoneVerb::help() const {
    return "usage: handheld tz show\n"
           "       handheld tz set ZONE\n"
           "\n"
           "Shows the handheld's time zone with its current offset from UTC, or sets it.\n"
           "\n"
           "  ZONE  a name from the tz database, such as Europe/Berlin, America/New_York or UTC\n"
           "\n"
           "examples:\n"
           "  handheld tz set Europe/Berlin\n"
           "  handheld tz show\n";
}

ExitCode ZoneVerb::run(const std::vector<std::string>& arguments, Console& console) {
    if (arguments.empty()) return console.usage("needs show or set");
    if (arguments[0] == "show") {
        if (arguments.size() > 1) return console.usage("unexpected argument '" + arguments[1] + "'");
        return show(console);
    }
    if (arguments[0] != "set") return console.usage("unknown action '" + arguments[0] + "'; use show or set");
    if (arguments.size() < 2) return console.usage("set needs a ZONE, such as Europe/Berlin");
    if (arguments.size() > 2) return console.usage("unexpected argument '" + arguments[2] + "'");
    if (!host::set_time_zone(arguments[1]))
        return console.fail("unknown time zone '" + arguments[1] + "'; use a tz database name such as Europe/Berlin");
    return show(console);
}

ExitCode ZoneVerb::show(Console& console) {
    console.out() << zone_text() << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
