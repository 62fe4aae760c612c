#include "InstallVerb.h"

#include "Installer.h"

namespace handheld {

void InstallVerb::declare(CLI::App& command) {
    describe(
        "Copies KIVO.exe and Alert.exe to \\Program Files\\KIVO and kivowake.exe to \\Windows, calling\n"
        "the setup library KIVOSETUP before and after, as the handheld's installer does; the\n"
        "installer keeps KIVOSETUP as \\Windows\\AppMgr\\KIVOSETUP.dll for the removal. Running\n"
        "programs keep running; a program the build has not made yet is reported and left out.");
    command.add_option("--from", package_, "the folder holding the built programs (default: the build's)")
        ->type_name("DIR");
    command.footer(
        "example:\n"
        "  handheld install\n"
        "  installed \\Program Files\\KIVO\\KIVO.exe\n"
        "  installed \\Program Files\\KIVO\\Alert.exe\n"
        "  installed \\Windows\\kivowake.exe");
}

ExitCode InstallVerb::run(Console& console) { return Installer(console).install(package_); }

}  // namespace handheld
