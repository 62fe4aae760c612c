#include "UninstallVerb.h"

#include "Installer.h"

namespace handheld {

void UninstallVerb::declare(CLI::App& command) {
    describe(
        "Calls KIVOSETUP's Uninstall_Init (which ends a running KIVO and Alert and removes\n"
        "every registration of \\Windows\\kivowake.exe), deletes the installed programs and the\n"
        "help page, calls Uninstall_Exit and deletes KIVOSETUP. The alarms folder and its files\n"
        "stay.");
    command.footer("example:\n  handheld uninstall");
}

ExitCode UninstallVerb::run(Console& console) { return Installer(console).uninstall(); }

}  // namespace handheld
