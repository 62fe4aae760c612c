#pragma once
// The words Tab offers for the value of an option or an argument (`--days` offers once,
// daily, weekdays, …), kept beside the command definitions they belong to, so that the
// bash completion written from those definitions offers them too.

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace handheld {

class CompletionWords {
public:
    // Stands for the names of the tz database's zones, listed when Tab is pressed.
    static constexpr const char* kZones = "@zones";

    // `words` separated by spaces; returns `option` for chaining.
    static CLI::Option* offer(CLI::Option* option, std::string words);
    // The option takes one of `words`: refused otherwise as the command line is read, offered at Tab.
    static CLI::Option* one_of(CLI::Option* option, const std::vector<std::string>& words);
    // The words offered for `option`; empty when it takes any word (a file, a text).
    static std::string of(const CLI::Option* option);
};

}  // namespace handheld
