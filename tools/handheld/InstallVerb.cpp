#include "InstallVerb.h"

#include "Installer.h"

namespace handheld {

void InstallVerb::declare(CLI::App& command) {
    describe(
        "Copies KIVO.exe and Alert.exe to \\Program Files\\KIVO and kivowake.exe and the help page\n"
        "KIVO.htm to \\Windows, calling the setup library KIVOSETUP before and after, as the\n"
        "handheld's installer does; the installer keeps KIVOSETUP as\n"
        "\\Windows\\AppMgr\\KIVOSETUP.dll for the removal. Running programs keep running; a\n"
        "program the build has not made yet is reported and left out.");
    command.add_option("--from", package_, "the folder holding the built programs (default: the build's)")
        ->type_name("DIR");
    command.footer(
        "example:\n"
        "  handheld install\n"
        "  installed \\Program Files\\KIVO\\KIVO.exe\n"
        "  installed \\Program Files\\KIVO\\Alert.exe\n"
        "  installed \\Windows\\kivowake.exe\n"
        "  installed \\Windows\\KIVO.htm");
}

ExitCode InstallVerb::run(Console& console) { return Installer(console).install(package_); }

}  // namespace handheld
