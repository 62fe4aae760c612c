#include "Installer.h"

#include <array>
#include <system_error>

#include "ErrorText.h"
#include "SetupLibrary.h"
#include "ce/Files.h"
#include "ce/Text.h"
#include "host/fs/DevicePath.h"

namespace handheld {

namespace {

struct PackageFile {
    const char* built;     // the file's name among the built programs
    const char16_t* path;  // where it goes on the handheld
};

constexpr std::array<PackageFile, 3> kPrograms{{
    {"KIVO", u"\\Program Files\\KIVO\\KIVO.exe"},
    {"Alert", u"\\Program Files\\KIVO\\Alert.exe"},
    {"kivowake", u"\\Windows\\kivowake.exe"},
}};

std::string text(std::u16string_view path) { return ce::utf8_from_utf16(path); }

}  // namespace

bool Installer::exists(std::u16string_view device_path) {
    const std::u16string path(device_path);
    return ce::GetFileAttributesW(path.c_str()) != ce::INVALID_FILE_ATTRIBUTES;
}

std::optional<std::filesystem::path> Installer::host_place(std::u16string_view device_path) {
    const host::DevicePath path = host::DevicePath::parse(device_path);
    if (!path.valid()) return std::nullopt;
    // The folders on the way, made as the device makes folders; existing ones stay.
    std::u16string folder;
    const auto& components = path.components();
    for (std::size_t index = 0; index + 1 < components.size(); ++index) {
        folder += u"\\" + components[index];
        ce::CreateDirectoryW(folder.c_str());
    }
    const auto location = path.locate();
    if (location.error != ce::ERROR_SUCCESS || location.is_directory) return std::nullopt;
    return location.host;
}

bool Installer::put(const std::filesystem::path& from, std::u16string_view to) {
    const std::u16string path(to);
    // A running program keeps its old file; the new one takes its name.
    if (exists(path) && !ce::DeleteFileW(path.c_str())) {
        console_.fail("cannot replace " + text(path) + ": " + error_text(ce::GetLastError()));
        return false;
    }
    const auto place = host_place(path);
    std::error_code error;
    if (place) std::filesystem::copy_file(from, *place, error);
    if (!place || error) {
        console_.fail("cannot copy " + from.string() + " to " + text(path) + (error ? ": " + error.message() : ""));
        return false;
    }
    std::filesystem::permissions(*place,
                                 std::filesystem::perms::owner_exec | std::filesystem::perms::group_exec |
                                     std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::add, error);
    return true;
}

ExitCode Installer::install(const std::filesystem::path& package) {
    const std::filesystem::path setup_file = package / kSetupFile;
    std::error_code error;
    if (!std::filesystem::is_regular_file(setup_file, error))
        return console_.fail("no " + std::string(kSetupFile) + " in " + package.string() +
                             " (build the programs first: scripts/build release)");
    const bool previously_installed = exists(kSetupCopy);
    if (!put(setup_file, kSetupCopy)) return ExitCode::failed;
    const auto setup_place = host_place(kSetupCopy);
    if (!setup_place) return console_.fail("cannot find " + text(kSetupCopy) + " after copying it");
    const SetupLibrary setup(*setup_place);
    if (!setup.loaded()) return console_.fail(setup.error());
    if (setup.install_init(previously_installed, kFolder) != ce::codeINSTALL_INIT_CONTINUE)
        return console_.fail("the setup library cancelled the installation");

    ce::WORD failed_files = 0;
    bool copied_all = true;
    for (const auto& program : kPrograms) {
        const std::filesystem::path built = package / program.built;
        if (!std::filesystem::is_regular_file(built, error)) {
            console_.out() << "not in the package (not built yet): " << program.built << '\n';
            ++failed_files;
        } else if (put(built, program.path)) {
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
        if (!exists(program.path)) continue;
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
    if (!exists(kSetupCopy)) return console_.fail("KIVO is not installed on this handheld (no " + text(kSetupCopy) + ")");
    const auto setup_place = host_place(kSetupCopy);
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
