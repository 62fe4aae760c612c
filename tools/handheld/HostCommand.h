#pragma once
// Runs a program of the computer (systemctl, setcap) and waits for it: its output goes
// where the tool's goes, so the person sees what it said.

#include <string>
#include <vector>

namespace handheld {

struct HostCommand {
    // The exit status; -1 when it could not be started (not installed) or died of a signal.
    static int run(const std::vector<std::string>& command);
    // Whether `name` is a program found on $PATH.
    static bool installed(const std::string& name);
};

}  // namespace handheld
