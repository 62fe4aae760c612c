#include "BashCompletion.h"

#include <string_view>

namespace handheld {

namespace {

// Bash names are letters, digits and underscores: "kivo-handheld" → "_kivo_handheld".
std::string function_name(std::string_view tool) {
    std::string name = "_";
    for (const char character : tool) {
        const bool word = (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z') ||
                          (character >= '0' && character <= '9');
        name += word ? character : '_';
    }
    return name;
}

struct Tables {
    std::string actions;  // command path → its verbs or actions
    std::string options;  // command path → its option names
    std::string valued;   // command path → the options that take a value
};

void add_command(const CLI::App& command, const std::string& path, Tables& tables) {
    std::string actions;
    for (const CLI::App* action : command.get_subcommands({}))
        if (!action->get_name().empty()) actions += (actions.empty() ? "" : " ") + action->get_name();
    std::string options;
    std::string valued;
    for (const CLI::Option* option : command.get_options()) {
        if (option->get_positional()) continue;
        std::string names;
        for (const auto& name : option->get_snames()) names += " -" + name;
        for (const auto& name : option->get_lnames()) names += " --" + name;
        options += names;
        if (option->get_items_expected_max() > 0) valued += names;
    }
    const std::string key = "[\"" + path + "\"]=";
    tables.actions += "    " + key + "\"" + actions + "\"\n";
    tables.options += "    " + key + "\"" + options.substr(options.empty() ? 0 : 1) + "\"\n";
    tables.valued += "    " + key + "\"" + valued.substr(valued.empty() ? 0 : 1) + "\"\n";
    for (const CLI::App* action : command.get_subcommands({}))
        if (!action->get_name().empty())
            add_command(*action, path + " " + action->get_name(), tables);
}

}  // namespace

std::string BashCompletion::script(const CLI::App& tool) {
    Tables tables;
    // Keyed by the words of a command from the tool's name on, since bash refuses an
    // empty key.
    add_command(tool, tool.get_name(), tables);
    const std::string function = function_name(tool.get_name());
    return "# bash completion for " + tool.get_name() + ", written by `" + tool.get_name() +
           " help --bash-completion`\n"
           "declare -gA " + function + "_actions=(\n" + tables.actions + ")\n"
           "declare -gA " + function + "_options=(\n" + tables.options + ")\n"
           "declare -gA " + function + "_valued=(\n" + tables.valued + ")\n"
           + function + "() {\n"
           "    local current=${COMP_WORDS[COMP_CWORD]} path=\"" + tool.get_name() + "\" index word skip=0\n"
           "    for ((index = 1; index < COMP_CWORD; index++)); do\n"
           "        word=${COMP_WORDS[index]}\n"
           "        if ((skip)); then skip=0; continue; fi\n"
           "        if [[ \" ${" + function + "_valued[$path]} \" == *\" $word \"* ]]; then skip=1; continue; fi\n"
           "        if [[ \" ${" + function + "_actions[$path]} \" == *\" $word \"* ]]; then\n"
           "            path=\"$path $word\"\n"
           "        fi\n"
           "    done\n"
           "    if ((skip)); then\n"
           "        COMPREPLY=($(compgen -f -- \"$current\"))\n"
           "    elif [[ $current == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"${" + function + "_options[$path]}\" -- \"$current\"))\n"
           "    elif [[ $path == \"" + tool.get_name() + " help\" ]]; then\n"
           "        COMPREPLY=($(compgen -W \"${" + function + "_actions[" + tool.get_name() + "]}\" -- \"$current\"))\n"
           "    elif [[ -n ${" + function + "_actions[$path]} ]]; then\n"
           "        COMPREPLY=($(compgen -W \"${" + function + "_actions[$path]}\" -- \"$current\"))\n"
           "    else\n"
           "        COMPREPLY=($(compgen -f -- \"$current\"))\n"
           "    fi\n"
           "}\n"
           "complete -o filenames -F " + function + " " + tool.get_name() + "\n";
}

}  // namespace handheld
