#pragma once
// The `handheld` command line: global options, the verb, and the handheld it works on.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Console.h"
#include "Verb.h"

namespace handheld {

class HandheldTool {
public:
    explicit HandheldTool(Console& console);

    // `arguments` are the words after the program name.
    ExitCode run(const std::vector<std::string>& arguments);

private:
    Verb* find(std::string_view name) const;
    ExitCode print_overview();
    ExitCode print_help(std::string_view verb);
    ExitCode run_verb(Verb& verb, const std::vector<std::string>& arguments, const std::optional<std::string>& root);
    ExitCode select_device(const Verb& verb, const std::optional<std::string>& root);

    Console& console_;
    std::vector<std::unique_ptr<Verb>> verbs_;
};

}  // namespace handheld
