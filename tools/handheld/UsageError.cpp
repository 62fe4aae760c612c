#include "UsageError.h"

#include <vector>

namespace handheld {

namespace {

std::vector<std::string> action_names(const CLI::App& command) {
    std::vector<std::string> names;
    for (const CLI::App* action : command.get_subcommands({})) names.push_back(action->get_name());
    return names;
}

// "list", "show or set", "log, pacing or send".
std::string choices(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    return text;
}

bool awaits_action(const CLI::App& command) {
    return !command.get_subcommands({}).empty() && command.get_subcommands().empty();
}

// "--sz can go with set only" when other actions of the same verb take the option.
std::string option_text(const CLI::App& command, const std::string& word) {
    const std::string name = word.substr(0, word.find('='));
    std::vector<std::string> takers;
    if (const CLI::App* verb = command.get_parent(); verb != nullptr)
        for (const CLI::App* action : verb->get_subcommands({}))
            if (action->get_option_no_throw(name) != nullptr) takers.push_back(action->get_name());
    if (takers.empty()) return "unknown option " + word;
    return name + " can go with " + choices(takers) + " only";
}

// A word the parser could not place on `command`.
std::string leftover_text(const CLI::App& command, const std::string& word) {
    if (word.size() > 1 && word.front() == '-') return option_text(command, word);
    if (command.get_parent() == nullptr) return "unknown verb '" + word + "'";
    if (awaits_action(command))
        return "unknown action '" + word + "'; use " + choices(action_names(command));
    return "unexpected argument '" + word + "'";
}

std::string missing_text(const CLI::App& command, const CLI::ParseError& error) {
    if (awaits_action(command))
        return command.get_parent() == nullptr ? "needs a verb" : "needs " + choices(action_names(command));
    for (const CLI::Option* option : command.get_options()) {
        if (!option->get_required() || option->count() != 0) continue;
        const std::string name = option->get_name();
        // "needs a KEY", "needs SECONDS".
        return "needs " + (name.ends_with('S') ? name : "a " + name);
    }
    return error.what();
}

// "--sz excludes --dword" is the parser's text for two options given together.
std::string exclusion_text(const std::string& parser_text) {
    const std::string separator = " excludes ";
    const auto at = parser_text.find(separator);
    if (at == std::string::npos) return parser_text;
    return "either " + parser_text.substr(0, at) + " or " + parser_text.substr(at + separator.size()) +
           ", not both";
}

}  // namespace

const CLI::App& reached_command(const CLI::App& tool) {
    const CLI::App* reached = &tool;
    while (!reached->get_subcommands().empty()) reached = reached->get_subcommands().front();
    return *reached;
}

std::string command_path(const CLI::App& command) {
    std::string path;
    for (const CLI::App* level = &command; level->get_parent() != nullptr; level = level->get_parent())
        path = path.empty() ? level->get_name() : level->get_name() + " " + path;
    return path;
}

UsageError usage_error(const CLI::App& tool, const CLI::ParseError& error) {
    // The parser stops at the first fault; the deepest command it reached is the one meant.
    const CLI::App* reached = &reached_command(tool);
    // A word nothing could take explains more than any requirement it left unmet.
    for (const CLI::App* level = reached; level != nullptr; level = level->get_parent()) {
        const auto words = level->remaining();
        if (!words.empty() && !level->get_allow_extras())
            return {command_path(*level), leftover_text(*level, words.front())};
    }
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr)
        return {command_path(*reached), missing_text(*reached, error)};
    if (dynamic_cast<const CLI::ExcludesError*>(&error) != nullptr)
        return {command_path(*reached), exclusion_text(error.what())};
    return {command_path(*reached), error.what()};
}

}  // namespace handheld
