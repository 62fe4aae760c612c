#include "IrVerb.h"

#include "ArgumentParser.h"
#include "IrSendCommand.h"
#include "host/Device.h"
#include "host/hw/Machine.h"
#include "host/hw/TraceLog.h"

namespace handheld {

std::string_view IrVerb::help() const {
    return "usage: handheld ir log [--last]\n"
           "       handheld ir send FILE [--passes N | --hold SECONDS] [--port COMn:]\n"
           "       handheld ir pacing [on|off]\n"
           "\n"
           "log     prints every infrared transmission recorded in log/ir.log, oldest first: a\n"
           "        comment line per send, then LIRC mode2 text (carrier in Hz, pulse and space\n"
           "        in microseconds). --last prints only the latest one.\n"
           "pacing  shows or sets whether the simulated processor keeps its clock to the wall\n"
           "        clock (on: a 1-second signal takes a second; off: as fast as the host runs).\n"
           "        Either way the trace is the same. Takes effect for programs started later.\n"
           "send    sends a LIRC mode2 file (a carrier line in Hz, pulse and space lines in\n"
           "        microseconds; every pass sends the whole file) through the infrared driver:\n"
           "        --passes N passes (1 by default), or passes while the action key is held\n"
           "        for SECONDS; --port names the serial port (default: the infrared port).\n"
           "\n"
           "example:\n"
           "  handheld ir log --last\n";
}

ExitCode IrVerb::run(const std::vector<std::string>& arguments, Console& console) {
    if (arguments.empty()) return console.usage("needs log, pacing or send");
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (arguments[0] == "log") return log(rest, console);
    if (arguments[0] == "pacing") return pacing(rest, console);
    if (arguments[0] == "send") return IrSendCommand::run(rest, console);
    return console.usage("unknown ir command '" + arguments[0] + "'");
}

ExitCode IrVerb::log(const std::vector<std::string>& arguments, Console& console) {
    ArgumentParser parser;
    parser.flag("--last");
    if (!parser.parse(arguments)) return console.usage(parser.error());
    if (!parser.positionals().empty()) return console.usage("unexpected argument '" + parser.positionals()[0] + "'");
    const auto blocks =
        host::hw::TraceLog(host::Device::current().log_dir() / host::hw::TraceLog::kFileName).blocks();
    if (blocks.empty()) {
        console.out() << "no infrared transmissions recorded\n";
        return ExitCode::ok;
    }
    if (parser.has("--last")) {
        console.out() << blocks.back();
        return ExitCode::ok;
    }
    for (const auto& block : blocks) console.out() << block;
    return ExitCode::ok;
}

ExitCode IrVerb::pacing(const std::vector<std::string>& arguments, Console& console) {
    auto& database = host::Device::current().database();
    if (arguments.size() > 1) return console.usage("pacing takes on or off");
    if (arguments.empty()) {
        console.out() << "pacing " << database.setting(host::hw::kPacingSetting).value_or("on") << '\n';
        return ExitCode::ok;
    }
    if (arguments[0] != "on" && arguments[0] != "off") return console.usage("pacing takes on or off");
    if (!database.set_setting(host::hw::kPacingSetting, arguments[0])) return console.fail("cannot store the setting");
    console.out() << "pacing " << arguments[0] << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
