#include "HostCommand.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

extern char** environ;

namespace handheld {

int HostCommand::run(const std::vector<std::string>& command) {
    if (command.empty()) return -1;
    std::vector<char*> arguments;
    for (const auto& word : command) arguments.push_back(const_cast<char*>(word.c_str()));
    arguments.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, arguments[0], nullptr, nullptr, arguments.data(), environ) != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HostCommand::installed(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    std::error_code error;
    for (std::string folder; std::getline(folders, folder, ':');)
        if (!folder.empty() && access((std::filesystem::path(folder) / name).c_str(), X_OK) == 0) return true;
    return false;
}

}  // namespace handheld
