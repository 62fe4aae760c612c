#pragma once
// Sees a program start: the first process that runs a given program file with a given
// command line and did not run it when the watch began, within a fraction of a
// millisecond of its exec, so that a test can kill it at a chosen moment of its start-up.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

namespace testing_support {

class ProgramStartWatch {
public:
    ProgramStartWatch(const std::filesystem::path& program, const std::string& command_line);

    // The new process's id, nothing after `patience`. Busy: it polls without sleeping.
    std::optional<pid_t> wait(std::chrono::milliseconds patience);

private:
    std::optional<pid_t> scan(bool remember);

    std::filesystem::path program_;
    std::string command_line_;
    std::set<pid_t> known_;  // ran the program before the watch began
};

}  // namespace testing_support
