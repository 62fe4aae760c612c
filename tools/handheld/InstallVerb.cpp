#include "InstallVerb.h"

#include <system_error>

#include "Installer.h"
#include "ToolFiles.h"

namespace handheld {

void InstallVerb::declare(CLI::App& command) {
    describe(
        "Copies KIVO.exe and Alert.exe to \\Program Files\\KIVO and kivowake.exe and the help page\n"
        "KIVO.htm to \\Windows, calling the setup library KIVOSETUP before and after, as the\n"
        "handheld's installer does; the installer keeps KIVOSETUP as\n"
        "\\Windows\\AppMgr\\KIVOSETUP.dll for the removal. Running programs keep running; a\n"
        "program the build has not made yet is reported and left out.");
    command.add_option("--from", package_,
                       "the folder holding the built programs, and the help page if it has one\n"
                       "(default: the build's, or the installed package's)")
        ->type_name("DIR");
    command.footer(
        "example:\n"
        "  handheld install\n"
        "  installed \\Program Files\\KIVO\\KIVO.exe\n"
        "  installed \\Program Files\\KIVO\\Alert.exe\n"
        "  installed \\Windows\\kivowake.exe\n"
        "  installed \\Windows\\KIVO.htm");
}

ExitCode InstallVerb::run(Console& console) {
    const ToolFiles own = ToolFiles::of_this_tool();
    if (package_.empty()) return Installer(console).install(own.programs, own.help_page);
    const std::filesystem::path page = std::filesystem::path(package_) / "KIVO.htm";
    std::error_code error;
    return Installer(console).install(package_, std::filesystem::exists(page, error) ? page : own.help_page);
}

}  // namespace handheld
