#include "host/shell/ProgramPath.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "ce/Text.h"
#include "host/fs/DevicePath.h"

namespace host {

namespace {

std::string executable_name() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("program") : executable.filename().string();
}

}  // namespace

std::u16string ProgramPath::current() {
    if (const char* value = std::getenv(kVariable); value != nullptr && value[0] == '\\') {
        const std::u16string path = ce::utf16_from_utf8(value);
        const DevicePath parsed = DevicePath::parse(path);
        if (parsed.valid() && !parsed.is_root()) return parsed.text();
    }
    return install_place(executable_name());
}

std::u16string ProgramPath::install_place(std::string_view executable_name) {
    std::string name(executable_name);
    if (name.empty()) name = "program";
    if (!name.ends_with(".exe")) name += ".exe";
    const std::u16string file = ce::utf16_from_utf8(name);
    if (name == "kivowake.exe") return u"\\Windows\\" + file;
    return u"\\Program Files\\KIVO\\" + file;
}

}  // namespace host
