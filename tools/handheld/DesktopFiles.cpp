#include "DesktopFiles.h"

#include "ToolFiles.h"

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
        // string escaping then doubles every backslash, the word's own included; `%`
        // would start a field code.
        if (c == '\\')
            quoted += "\\\\\\\\";
        else if (c == '"' || c == '`' || c == '$')
            (quoted += "\\\\") += c;
        else if (c == '%')
            quoted += "%%";
        else
            quoted += c;
    }
    return quoted + '"';
}

std::filesystem::path MenuEntry::entry_file() { return data_home() / "applications" / "kivo.desktop"; }

bool MenuEntry::write(const ToolFiles& files, const std::filesystem::path& device, std::string* failure) {
    std::error_code error;
    const std::filesystem::path icons = data_home() / "icons" / "hicolor";
    for (const char* icon : kIcons) {
        std::filesystem::create_directories((icons / icon).parent_path(), error);
        std::filesystem::copy_file(files.icon_theme / icon, icons / icon, std::filesystem::copy_options::overwrite_existing,
                                   error);
        if (error) {
            *failure = "cannot copy the icon " + (files.icon_theme / icon).string() + " to " + (icons / icon).string() +
                       ": " + error.message();
            return false;
        }
    }
    std::ifstream in(files.menu_entry);
    if (!in) {
        *failure = "cannot read KIVO's menu entry " + files.menu_entry.string();
        return false;
    }
    std::string entry;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("Exec="))
            line = "Exec=" + exec_word(this_program().string()) + " --device " + exec_word(device.string()) + " run " +
                   exec_word("\\Program Files\\KIVO\\KIVO.exe");
        entry += line + '\n';
    }
    std::filesystem::create_directories(entry_file().parent_path(), error);
    std::ofstream out(entry_file(), std::ios::trunc);
    out << entry;
    if (!out.flush()) {
        *failure = "cannot write " + entry_file().string();
        return false;
    }
    return true;
}

}  // namespace handheld
