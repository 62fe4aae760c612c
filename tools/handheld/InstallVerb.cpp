#include "InstallVerb.h"

#include <system_error>

#include "DesktopFiles.h"
#include "Installer.h"
#include "ToolFiles.h"
#include "WakeCapability.h"
#include "host/Device.h"

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
    command.add_flag("--wake", wake_,
                     "only give the installed notification service (the package's, or this build's) CAP_WAKE_ALARM, "
                     "as root, so that it wakes this computer from suspend for an alarm");
    command.add_flag("--menu", menu_,
                     "also put KIVO, started on this handheld, in your desktop's menu "
                     "(~/.local/share/applications/kivo.desktop, with its icon)");
    command.footer(
        "example:\n"
        "  handheld install\n"
        "  installed \\Program Files\\KIVO\\KIVO.exe\n"
        "  installed \\Program Files\\KIVO\\Alert.exe\n"
        "  installed \\Windows\\kivowake.exe\n"
        "  installed \\Windows\\KIVO.htm\n"
        "  sudo handheld install --wake");
}

ExitCode InstallVerb::run(Console& console) {
    if (wake_) return WakeCapability::grant(ToolFiles::of_this_tool().notify_service, console);
    const ToolFiles own = ToolFiles::of_this_tool();
    const std::filesystem::path page = std::filesystem::path(package_) / "KIVO.htm";
    std::error_code error;
    const ExitCode installed =
        package_.empty() ? Installer(console).install(own.programs, own.help_page)
                         : Installer(console).install(package_, std::filesystem::exists(page, error) ? page : own.help_page);
    if (installed != ExitCode::ok || !menu_) return installed;
    std::string failure;
    if (!MenuEntry::write(own, std::filesystem::absolute(host::Device::current().root()), &failure))
        return console.fail(failure);
    console.out() << "put KIVO in the desktop's menu: " << MenuEntry::entry_file().string() << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
