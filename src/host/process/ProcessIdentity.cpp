#include "host/process/ProcessIdentity.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace host {

namespace {

struct StatLine {
    char state = '?';
    std::uint64_t started = 0;
};

// /proc/PID/stat: the name in parentheses may hold spaces and parentheses itself, so
// the fields are counted from the last ')': state is the first after it and the start
// time the twentieth.
std::optional<StatLine> read_stat(pid_t pid) {
    if (pid <= 0) return std::nullopt;
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(file, line)) return std::nullopt;
    const auto end_of_name = line.rfind(')');
    if (end_of_name == std::string::npos) return std::nullopt;
    std::istringstream fields(line.substr(end_of_name + 1));
    StatLine stat;
    std::string skipped;
    fields >> stat.state;
    for (int field = 0; field < 18; ++field) fields >> skipped;
    fields >> stat.started;
    if (!fields) return std::nullopt;
    return stat;
}

bool running(char state) { return state != 'Z' && state != 'X' && state != 'x'; }

}  // namespace

std::optional<ProcessIdentity> ProcessIdentity::of(pid_t pid) {
    const auto stat = read_stat(pid);
    if (!stat || !running(stat->state)) return std::nullopt;
    return ProcessIdentity{pid, stat->started};
}

ProcessIdentity ProcessIdentity::self() {
    static const ProcessIdentity identity = of(getpid()).value_or(ProcessIdentity{getpid(), 0});
    return identity;
}

bool ProcessIdentity::alive() const {
    const auto stat = read_stat(pid);
    return stat && running(stat->state) && stat->started == started;
}

}  // namespace host
