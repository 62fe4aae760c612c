#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

extern char** environ;

namespace testing_support {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
    int in_pipe[2];
    int out_pipe[2];
    if (pipe2(in_pipe, O_CLOEXEC) != 0) return;
    if (pipe2(out_pipe, O_CLOEXEC) != 0) {
        close(in_pipe[0]);
        close(in_pipe[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in_pipe[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out_pipe[1], STDOUT_FILENO);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(in_pipe[0]);
    close(out_pipe[1]);
    to_child_ = in_pipe[1];
    from_child_ = out_pipe[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill();
        wait();
    }
    if (to_child_ >= 0) close(to_child_);
    if (from_child_ >= 0) close(from_child_);
}

bool ChildProcess::send_line(const std::string& line) {
    const std::string text = line + "\n";
    return to_child_ >= 0 && write(to_child_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

std::optional<std::string> ChildProcess::read_line(int timeout_ms) {
    for (;;) {
        if (const auto end = pending_.find('\n'); end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        pollfd ready{from_child_, POLLIN, 0};
        if (from_child_ < 0 || poll(&ready, 1, timeout_ms) <= 0) return std::nullopt;
        char buffer[512];
        const ssize_t got = read(from_child_, buffer, sizeof buffer);
        if (got <= 0) return std::nullopt;
        pending_.append(buffer, static_cast<std::size_t>(got));
    }
}

void ChildProcess::kill() {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
}

int ChildProcess::wait() {
    if (pid_ <= 0) return -1;
    int status = 0;
    const pid_t ended = waitpid(pid_, &status, 0);
    pid_ = -1;
    if (ended < 0 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

std::string executable_dir() {
    return std::filesystem::canonical("/proc/self/exe").parent_path().string();
}

}  // namespace testing_support
