#pragma once
// What a wrong command line is told, in the tool's own words: the command it concerns
// ("reg set") and what was wrong, worked out from the parser's error and from what the
// parser could not place.

#include <CLI/CLI.hpp>

#include <string>

namespace handheld {

struct UsageError {
    std::string command;  // "reg set"; empty for the tool itself
    std::string message;  // "needs a KEY"
};

UsageError usage_error(const CLI::App& tool, const CLI::ParseError& error);

// The deepest command the parser reached ("ir send" reaches send).
const CLI::App& reached_command(const CLI::App& tool);
// "ir send"; empty for the tool itself.
std::string command_path(const CLI::App& command);

}  // namespace handheld
