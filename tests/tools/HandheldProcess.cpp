#include "HandheldProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace tool_tests {

namespace {

// A file to take one of the child's output streams; reading it after the child ended
// needs no polling of two pipes at once.
std::string make_capture_file() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kivo-tool-XXXXXX").string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0) return {};
    close(fd);
    return pattern;
}

std::string take_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    std::filesystem::remove(path);
    return text.str();
}

}  // namespace

HandheldResult run_handheld(const std::vector<std::string>& arguments, const std::string& program) {
    return run_program(program, arguments);
}

HandheldResult run_program(const std::string& program, const std::vector<std::string>& arguments) {
    HandheldResult result;
    const std::string out_path = make_capture_file();
    const std::string err_path = make_capture_file();
    if (out_path.empty() || err_path.empty()) return result;

    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_path.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_path.c_str(), O_WRONLY | O_TRUNC, 0);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
    result.out = take_file(out_path);
    result.err = take_file(err_path);
    return result;
}

}  // namespace tool_tests
