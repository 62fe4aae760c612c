#include "Installer.h"

#include <array>
#include <system_error>

#include "DeviceImage.h"
#include "ErrorText.h"
#include "SetupLibrary.h"
#include "ce/Files.h"
#include "ce/Text.h"

namespace handheld {

namespace {

struct PackageFile {
    const char* built;     // the file's name among the built programs
    const char16_t* path;  // where it goes on the handheld
    DeviceImage::Kind kind;
};

// The help page goes where the handheld's help viewer looks for pages named alone.
constexpr std::array<PackageFile, 4> kPrograms{{
    {"KIVO", u"\\Program Files\\KIVO\\KIVO.exe", DeviceImage::Kind::program},
    {"Alert", u"\\Program Files\\KIVO\\Alert.exe", DeviceImage::Kind::program},
    {"kivowake", u"\\Windows\\kivowake.exe", DeviceImage::Kind::program},
    {"KIVO.htm", u"\\Windows\\KIVO.htm", DeviceImage::Kind::data},
}};

std::string text(std::u16string_view path) { return ce::utf8_from_utf16(path); }

}  // namespace

ExitCode Installer::install(const std::filesystem::path& package, const std::filesystem::path& help_page) {
    const std::filesystem::path setup_file = package / kSetupFile;
    std::error_code error;
    if (!std::filesystem::is_regular_file(setup_file, error))
        return console_.fail("no " + std::string(kSetupFile) + " in " + package.string() +
                             " (build the programs first: scripts/build release)");
    DeviceImage image(console_);
    const bool previously_installed = DeviceImage::exists(kSetupCopy);
    if (!image.put(setup_file, kSetupCopy, DeviceImage::Kind::program)) return ExitCode::failed;
    const auto setup_place = DeviceImage::host_place(kSetupCopy);
    if (!setup_place) return console_.fail("cannot find " + text(kSetupCopy) + " after copying it");
    const SetupLibrary setup(*setup_place);
    if (!setup.loaded()) return console_.fail(setup.error());
    if (setup.install_init(previously_installed, kFolder) != ce::codeINSTALL_INIT_CONTINUE)
        return console_.fail("the setup library cancelled the installation");

    ce::WORD failed_files = 0;
    bool copied_all = true;
    for (const auto& program : kPrograms) {
        const std::filesystem::path built =
            program.kind == DeviceImage::Kind::data ? help_page : package / program.built;
        if (!std::filesystem::is_regular_file(built, error)) {
            console_.out() << "not in the package (not built yet): " << program.built << '\n';
            ++failed_files;
        } else if (image.put(built, program.path, program.kind)) {
            console_.out() << "installed " << text(program.path) << '\n';
        } else {
            ++failed_files;
            copied_all = false;
        }
    }
    if (setup.install_exit(kFolder, 0, failed_files) != ce::codeINSTALL_EXIT_DONE) {
        remove_programs();
        return console_.fail("the setup library undid the installation");
    }
    return copied_all ? ExitCode::ok : ExitCode::failed;
}

bool Installer::remove_programs() {
    bool removed_all = true;
    for (const auto& program : kPrograms) {
        if (!DeviceImage::exists(program.path)) continue;
        if (ce::DeleteFileW(program.path)) {
            console_.out() << "removed " << text(program.path) << '\n';
        } else {
            console_.fail("cannot remove " + text(program.path) + ": " + error_text(ce::GetLastError()));
            removed_all = false;
        }
    }
    // The folder goes only when nothing else (the alarms, for one) is left in it.
    ce::RemoveDirectoryW(kFolder);
    return removed_all;
}

ExitCode Installer::uninstall() {
    if (!DeviceImage::exists(kSetupCopy)) return console_.fail("KIVO is not installed on this handheld (no " + text(kSetupCopy) + ")");
    const auto setup_place = DeviceImage::host_place(kSetupCopy);
    if (!setup_place) return console_.fail("cannot read " + text(kSetupCopy));
    bool removed_all = false;
    {
        const SetupLibrary setup(*setup_place);
        if (!setup.loaded()) return console_.fail(setup.error());
        if (setup.uninstall_init(kFolder) != ce::codeUNINSTALL_INIT_CONTINUE)
            return console_.fail("the setup library cancelled the removal");
        removed_all = remove_programs();
        setup.uninstall_exit();
    }
    // Unloaded first: the installer's copy is the last file to go.
    ce::DeleteFileW(kSetupCopy);
    ce::RemoveDirectoryW(u"\\Windows\\AppMgr");
    return removed_all ? ExitCode::ok : ExitCode::failed;
}

}  // namespace handheld
