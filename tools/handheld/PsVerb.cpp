#include "PsVerb.h"

#include <map>
#include <vector>

#include "TextTable.h"
#include "ce/Text.h"
#include "host/Device.h"
#include "host/process/ProcessTable.h"
#include "host/window/WindowRegistry.h"

namespace handheld {

void PsVerb::declare(CLI::App& command) {
    describe(
        "Lists the programs running on the handheld, one line per top-level window (a program\n"
        "without a window on a line of its own): process id, program file, command line, the\n"
        "window's title in quotes, whether it is in the foreground, and whether it is top-most\n"
        "(it stays in front of every window that is not, as the reminder does).");
    command.footer(
        "example:\n"
        "  handheld ps\n"
        "  PID   PROGRAM                        COMMAND LINE  WINDOW       FOREGROUND  TOP-MOST\n"
        "  4242  \\Program Files\\KIVO\\KIVO.exe                \"KIVO\"\n"
        "  4250  \\Program Files\\KIVO\\Alert.exe  SHOW          \"KIVOAlert\"  yes         yes");
}

ExitCode PsVerb::run(Console& console) {
    auto& database = host::Device::current().database();
    const auto programs = host::ProcessTable(database).running();
    if (programs.empty()) {
        console.out() << "no programs running\n";
        return ExitCode::ok;
    }
    host::WindowRegistry registry(database);
    const auto foreground = registry.foreground();
    std::map<pid_t, std::vector<host::WindowRecord>> windows;
    for (auto& window : registry.windows()) windows[window.owner.pid].push_back(std::move(window));

    TextTable table({"PID", "PROGRAM", "COMMAND LINE", "WINDOW", "FOREGROUND", "TOP-MOST"});
    for (const auto& program : programs) {
        const std::vector<std::string> process{std::to_string(program.identity.pid),
                                               ce::utf8_from_utf16(program.program),
                                               ce::utf8_from_utf16(program.command_line)};
        const auto& own = windows[program.identity.pid];
        if (own.empty()) table.add(process);
        for (const auto& window : own) {
            auto row = process;
            row.push_back("\"" + ce::utf8_from_utf16(window.title) + "\"");
            row.push_back(foreground == window.handle ? "yes" : "");
            row.push_back(window.topmost ? "yes" : "");
            table.add(std::move(row));
        }
    }
    table.print(console.out());
    return ExitCode::ok;
}

}  // namespace handheld
