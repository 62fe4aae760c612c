#include "ToolFiles.h"

#include <system_error>

namespace handheld {

namespace {

// The package's layout, kept in step with the install rules of the build.
constexpr const char* kProgramFolder = "lib/kivo";
constexpr const char* kDataFolder = "share/kivo";
constexpr const char* kSetupLibrary = "KIVOSETUP.so";
constexpr const char* kMenuEntry = "applications/kivo.desktop";
constexpr const char* kIconTheme = "icons/hicolor";
constexpr const char* kUserUnit = "lib/systemd/user/kivo.service";
constexpr const char* kUserTemplate = "lib/systemd/user/kivo@.service";

}  // namespace

ToolFiles ToolFiles::installed(const std::filesystem::path& prefix) {
    const std::filesystem::path programs = prefix / kProgramFolder;
    return {programs,
            prefix / kDataFolder / "KIVO.htm",
            programs / "kivo_notify_service",
            programs / "peghelp",
            prefix / "share" / kMenuEntry,
            prefix / "share" / kIconTheme,
            prefix / kUserUnit,
            prefix / kUserTemplate};
}

bool ToolFiles::is_installed(const std::filesystem::path& prefix) {
    std::error_code error;
    return std::filesystem::is_regular_file(prefix / kProgramFolder / kSetupLibrary, error);
}

ToolFiles ToolFiles::of_this_tool() {
    std::error_code error;
    const auto executable = std::filesystem::canonical("/proc/self/exe", error);
    if (!error) {
        const auto prefix = executable.parent_path().parent_path();
        if (executable.parent_path().filename() == "bin" && is_installed(prefix)) return installed(prefix);
    }
    const std::filesystem::path shared = KIVO_SHARE_DIR;
    return {KIVO_PACKAGE_DIR,
            std::filesystem::path(KIVO_PACKAGE_DIR) / "KIVO.htm",
            KIVO_NOTIFY_SERVICE,
            KIVO_HELP_VIEWER,
            shared / kMenuEntry,
            shared / kIconTheme,
            {},
            {}};
}

}  // namespace handheld
