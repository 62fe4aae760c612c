#pragma once
// The help every command of the tool prints for `--help`: the usage first (one line per
// action where a verb has several), then what it does, its arguments, options and
// actions, and the examples its footer holds. A description's first paragraph is the
// summary shown in its parent's list.

#include <CLI/CLI.hpp>

#include <string>

namespace handheld {

class HelpFormatter : public CLI::Formatter {
public:
    // `tool`: the name the tool was called by, which the examples are spelt with.
    explicit HelpFormatter(std::string tool);

    std::string make_help(const CLI::App* command, std::string name, CLI::AppFormatMode mode) const override;
    std::string make_usage(const CLI::App* command, std::string name) const override;
    std::string make_description(const CLI::App* command) const override;
    std::string make_subcommands(const CLI::App* command, CLI::AppFormatMode mode) const override;
    std::string make_subcommand(const CLI::App* action) const override;
    std::string make_option_opts(const CLI::Option* option) const override;

private:
    // "FILE [--passes N] [--hold SECONDS]", what follows the command's name.
    static std::string synopsis(const CLI::App& command);

    std::string tool_;
};

}  // namespace handheld
