#pragma once
// The `handheld` command line: the global options, one subcommand per verb, the help
// verb, and the handheld the chosen verb works on.

#include <CLI/CLI.hpp>

#include <memory>
#include <string>
#include <vector>

#include "Console.h"
#include "Verb.h"

namespace handheld {

class HandheldTool {
public:
    // `name`: what the tool was called by, which its help shows commands under.
    explicit HandheldTool(const std::string& name);

    // What main parses; every verb is declared on it.
    CLI::App& command_line() { return tool_; }
    // After a successful parse: selects the handheld and runs the chosen verb.
    ExitCode run(Console& console);
    // After a failed parse: the help asked for (0), or what was wrong (2).
    ExitCode refuse(const CLI::ParseError& error, Console& console);

private:
    ExitCode print_help(Console& console);
    ExitCode select_device(const Verb& verb, Console& console);

    CLI::App tool_;
    std::string device_;
    CLI::App* help_ = nullptr;
    std::vector<std::string> help_words_;
    std::string manual_folder_;
    bool bash_completion_ = false;
    std::vector<std::unique_ptr<Verb>> verbs_;
};

}  // namespace handheld
