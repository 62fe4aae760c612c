#include "DesktopFiles.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace handheld {

namespace {

std::filesystem::path home_or(const char* variable, const char* fallback) {
    if (const char* folder = std::getenv(variable); folder != nullptr && *folder == '/') return folder;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : "/") / fallback;
}

std::filesystem::path this_program() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path("handheld") : program;
}

}  // namespace

std::filesystem::path config_home() { return home_or("XDG_CONFIG_HOME", ".config"); }

std::filesystem::path data_home() { return home_or("XDG_DATA_HOME", ".local/share"); }

std::string exec_word(const std::string& word) {
    std::string quoted = "\"";
    for (const char c : word) {
        // Inside quotes `"`, backquote, `$` and `\` take a backslash, and the file's own
        // string escaping doubles that backslash; `%` would start a field code.
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += "\\\\";
        if (c == '%') quoted += '%';
        quoted += c;
    }
    return quoted + '"';
}

std::filesystem::path MenuEntry::entry_file() { return data_home() / "applications" / "kivo.desktop"; }

bool MenuEntry::write(const std::filesystem::path& device, std::string* failure) {
    std::error_code error;
    const std::filesystem::path icons = data_home() / "icons" / "hicolor";
    const std::filesystem::path drawn = KIVO_DESKTOP_DIR;
    const std::pair<const char*, const char*> copies[] = {
        {"kivo-48.png", "48x48/apps/kivo.png"}, {"kivo-256.png", "256x256/apps/kivo.png"}, {"kivo.svg", "scalable/apps/kivo.svg"}};
    for (const auto& [from, to] : copies) {
        std::filesystem::create_directories((icons / to).parent_path(), error);
        std::filesystem::copy_file(drawn / from, icons / to, std::filesystem::copy_options::overwrite_existing, error);
        if (error) {
            *failure = "cannot copy the icon to " + (icons / to).string() + ": " + error.message();
            return false;
        }
    }
    std::filesystem::create_directories(entry_file().parent_path(), error);
    std::ofstream out(entry_file(), std::ios::trunc);
    out << "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=KIVO\n"
           "GenericName=Alarm clock\n"
           "Comment=Alarms that wake you with a sound and switch on your TV by infrared\n"
           "Exec=" << exec_word(this_program().string()) << " --device " << exec_word(device.string())
        << " run " << exec_word("\\Program Files\\KIVO\\KIVO.exe") << "\n"
           "Icon=kivo\n"
           "Terminal=false\n"
           "Categories=Utility;Clock;\n"
           "Keywords=alarm;clock;wake;infrared;\n";
    if (!out.flush()) {
        *failure = "cannot write " + entry_file().string();
        return false;
    }
    return true;
}

}  // namespace handheld
