#pragma once
// Runs a helper program as a real second process of the handheld, talking to it over
// its standard input and output one line at a time.

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace testing_support {

class ChildProcess {
public:
    // Starts `program` with `arguments`; the child inherits the environment (so the
    // same KIVO_DEVICE).
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
    ~ChildProcess();  // kills the child if it is still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    bool send_line(const std::string& line);
    // The next line the child printed, or nothing after `timeout_ms` or at its end.
    std::optional<std::string> read_line(int timeout_ms = 10000);

    // SIGKILL, as a crash would end it.
    void kill();
    // Waits for the end; the exit status, or -1 when killed by a signal.
    int wait();

private:
    pid_t pid_ = -1;
    int to_child_ = -1;
    int from_child_ = -1;
    std::string pending_;
};

// The folder the test executables are in, to find the helper programs built beside them.
std::string executable_dir();

}  // namespace testing_support
