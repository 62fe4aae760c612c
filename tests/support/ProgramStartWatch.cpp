#include "ProgramStartWatch.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

namespace testing_support {

namespace {

bool runs(pid_t pid, const std::string& program, const std::string& command_line) {
    char target[4096];
    const std::string folder = "/proc/" + std::to_string(pid);
    const ssize_t length = readlink((folder + "/exe").c_str(), target, sizeof target - 1);
    if (length <= 0 || std::string(target, static_cast<std::size_t>(length)) != program) return false;
    // The arguments, NUL-separated: the program's path, then its command line.
    std::ifstream arguments(folder + "/cmdline");
    std::string path, line;
    std::getline(arguments, path, '\0');
    std::getline(arguments, line, '\0');
    return line == command_line;
}

}  // namespace

ProgramStartWatch::ProgramStartWatch(const std::filesystem::path& program, const std::string& command_line)
    : command_line_(command_line) {
    std::error_code error;
    program_ = std::filesystem::canonical(program, error);
    scan(true);
}

std::optional<pid_t> ProgramStartWatch::scan(bool remember) {
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return std::nullopt;
    std::optional<pid_t> found;
    const std::string program = program_.string();
    while (const dirent* entry = readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || known_.contains(static_cast<pid_t>(pid))) continue;
        if (!runs(static_cast<pid_t>(pid), program, command_line_)) continue;
        if (remember) {
            known_.insert(static_cast<pid_t>(pid));
        } else {
            found = static_cast<pid_t>(pid);
            break;
        }
    }
    closedir(proc);
    return found;
}

std::optional<pid_t> ProgramStartWatch::wait(std::chrono::milliseconds patience) {
    const auto until = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < until)
        if (const auto pid = scan(false)) return pid;
    return std::nullopt;
}

}  // namespace testing_support
