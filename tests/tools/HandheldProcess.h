#pragma once
// Runs the `handheld` tool as its own process and collects what it reported.

#include <string>
#include <vector>

namespace tool_tests {

struct HandheldResult {
    int exit_code = -1;  // -1 when it could not be started or died of a signal
    std::string out;
    std::string err;
};

// Runs the built tool with `arguments`, inheriting this process's environment; `program`
// names it otherwise (a link under the package's name, say).
HandheldResult run_handheld(const std::vector<std::string>& arguments, const std::string& program = HANDHELD_PROGRAM);
// The same for any program (another copy of the tool, a program run as another account).
HandheldResult run_program(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace tool_tests
