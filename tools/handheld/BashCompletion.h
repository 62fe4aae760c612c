#pragma once
// Bash completion for the tool, written from its command definitions: at each word it
// offers the verbs or actions of the command reached so far, its options after a "-",
// and file names where an option or argument takes a value.

#include <CLI/CLI.hpp>

#include <string>

namespace handheld {

class BashCompletion {
public:
    // The script that `source` or /usr/share/bash-completion/completions/TOOL loads.
    static std::string script(const CLI::App& tool);
};

}  // namespace handheld
