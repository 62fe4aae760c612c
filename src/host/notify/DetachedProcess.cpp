#include "host/notify/DetachedProcess.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace host {

namespace {

std::vector<std::string> merged_environment(const std::vector<std::string>& overrides) {
    std::vector<std::string> merged;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        const auto name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const auto& override : overrides) replaced = replaced || override.starts_with(name);
        if (!replaced) merged.emplace_back(text);
    }
    merged.insert(merged.end(), overrides.begin(), overrides.end());
    return merged;
}

// Between fork and exec only calls that are safe in the child of a threaded process.
[[noreturn]] void become(const char* program, char* const argv[], char* const envp[]) {
    setsid();
    if (fork() != 0) _exit(0);  // the grandchild is nobody's child: init reaps it
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
    }
    close_range(3, ~0U, 0);
    execve(program, argv, envp);
    _exit(127);
}

}  // namespace

bool DetachedProcess::start(const std::filesystem::path& program, const std::vector<std::string>& environment,
                            std::string* failure) {
    if (access(program.c_str(), X_OK) != 0) {
        *failure = "cannot run " + program.string() + ": " + std::strerror(errno);
        return false;
    }
    const std::string path = program.string();
    std::vector<std::string> entries = merged_environment(environment);
    std::vector<char*> envp;
    for (auto& entry : entries) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string name = path;
    char* const argv[] = {name.data(), nullptr};

    const pid_t child = fork();
    if (child < 0) {
        *failure = std::string("cannot start a process: ") + std::strerror(errno);
        return false;
    }
    if (child == 0) become(path.c_str(), argv, envp.data());
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

}  // namespace host
