#include "HelpFormatter.h"

#include <algorithm>
#include <sstream>
#include <utility>

#include "ToolName.h"

namespace handheld {

namespace {

constexpr std::string_view kParagraph = "\n\n";

std::vector<const CLI::App*> actions_of(const CLI::App& command) {
    return command.get_subcommands([](const CLI::App* action) { return !action->get_name().empty(); });
}

}  // namespace

HelpFormatter::HelpFormatter(std::string tool) : tool_(std::move(tool)) {
    label("Positionals", "Arguments");
    column_width(20);
}

std::string HelpFormatter::synopsis(const CLI::App& command) {
    std::string words;
    const CLI::Option* previous = nullptr;
    for (const CLI::Option* option : command.get_options()) {
        if (option == command.get_help_ptr()) continue;
        std::string word = option->get_positional() ? option->get_name() : option->get_name(false, true);
        if (const std::string type = option->get_type_name(); !option->get_positional() && !type.empty())
            word += " " + type;
        if (option->get_expected_max() > 1) word += "...";
        const auto excluded = option->get_excludes();
        if (words.ends_with(']') && std::find(excluded.begin(), excluded.end(), previous) != excluded.end())
            words.insert(words.size() - 1, " | " + word);  // "[--passes N | --hold SECONDS]"
        else
            words += " " + (option->get_required() ? word : "[" + word + "]");
        previous = option;
    }
    return words;
}

std::string HelpFormatter::make_usage(const CLI::App* command, std::string name) const {
    const auto actions = actions_of(*command);
    if (command->get_parent() == nullptr) return "usage: " + name + synopsis(*command) + " VERB [ARGUMENTS]\n";
    std::string usage;
    if (actions.empty() || command->get_require_subcommand_min() == 0)
        usage = "usage: " + name + synopsis(*command) + "\n";
    for (const CLI::App* action : actions) {
        usage += usage.empty() ? "usage: " : "       ";
        usage += name + synopsis(*command) + " " + action->get_name() + synopsis(*action);
        if (!actions_of(*action).empty()) usage += " ACTION ...";
        usage += "\n";
    }
    return usage;
}

std::string HelpFormatter::make_description(const CLI::App* command) const {
    const std::string& text = command->get_description();
    const auto details = text.find(kParagraph);
    return (details == std::string::npos ? text : text.substr(details + kParagraph.size())) + "\n";
}

std::string HelpFormatter::make_subcommand(const CLI::App* action) const {
    const std::string& text = action->get_description();
    std::ostringstream out;
    CLI::detail::format_help(out, action->get_name(), text.substr(0, text.find(kParagraph)), column_width_);
    return out.str();
}

std::string HelpFormatter::make_subcommands(const CLI::App* command, CLI::AppFormatMode) const {
    const auto actions = actions_of(*command);
    if (actions.empty()) return {};
    std::string list = command->get_parent() == nullptr ? "\nVerbs:\n" : "\nActions:\n";
    for (const CLI::App* action : actions) list += make_subcommand(action);
    return list;
}

std::string HelpFormatter::make_option_opts(const CLI::Option* option) const {
    const std::string type = option->get_type_name();
    return option->get_positional() || type.empty() ? std::string() : " " + type;
}

std::string HelpFormatter::make_help(const CLI::App* command, std::string name, CLI::AppFormatMode mode) const {
    if (mode == CLI::AppFormatMode::Sub) return make_expanded(command);
    std::ostringstream out;
    out << make_usage(command, name) << '\n' << make_description(command);
    out << make_positionals(command) << make_groups(command, mode) << make_subcommands(command, mode);
    // A command inherits its parent's footer when it has no examples of its own.
    const CLI::App* parent = command->get_parent();
    if (!command->get_footer().empty() && (parent == nullptr || parent->get_footer() != command->get_footer()))
        out << '\n' << make_footer(command);
    return as_called(out.str(), tool_);
}

}  // namespace handheld
