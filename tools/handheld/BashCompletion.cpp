#include "BashCompletion.h"

#include <string_view>

#include "CompletionWords.h"

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
    std::string values;   // "PATH OPTION" → the words its value may be; PATH → its arguments'
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
        if (const std::string words = CompletionWords::of(option); !words.empty())
            for (const auto& name : option->get_lnames())
                tables.values += "    [\"" + path + " --" + name + "\"]=\"" + words + "\"\n";
    }
    for (const CLI::Option* option : command.get_options())
        if (const std::string words = CompletionWords::of(option); option->get_positional() && !words.empty())
            tables.values += "    [\"" + path + "\"]=\"" + words + "\"\n";
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
    const std::string& name = tool.get_name();
    add_command(tool, name, tables);
    const std::string f = function_name(name);
    return "# bash completion for " + name + ", written by `" + name + " help --bash-completion`\n"
           "declare -gA " + f + "_actions=(\n" + tables.actions + ")\n"
           "declare -gA " + f + "_options=(\n" + tables.options + ")\n"
           "declare -gA " + f + "_valued=(\n" + tables.valued + ")\n"
           "declare -gA " + f + "_values=(\n" + tables.values + ")\n"
           // File names as bash-completion's _filedir gives them: the word typed read as the
           // shell will read it (quoted or with escaped spaces), the names one to a line so
           // that a name with spaces stays one, and readline told they are file names, so
           // that it quotes them as it puts them in the line.
           + f + "_files() {\n"
           "    local IFS=$'\\n' word=$1 plain= at\n"
           "    case $word in\n"
           "        \\'*) plain=${word:1}; plain=${plain%\\'} ;;\n"
           "        \\\"*) plain=${word:1}; plain=${plain%\\\"} ;;\n"
           "        *) for ((at = 0; at < ${#word}; at++)); do\n"
           "               [[ ${word:at:1} == \\\\ ]] && ((at++))\n"
           "               plain+=${word:at:1}\n"
           "           done ;;\n"
           "    esac\n"
           "    compopt -o filenames 2>/dev/null\n"
           "    COMPREPLY=($(compgen -f -- \"$plain\"))\n"
           "}\n"
           // The zones of the tz database, zones and their links, as the tool takes them.
           + f + "_zones() {\n"
           "    awk '$1 == \"Z\" { print $2 } $1 == \"L\" { print $3 }' /usr/share/zoneinfo/tzdata.zi 2>/dev/null\n"
           "}\n"
           + f + "_offer() {\n"
           "    local words=$1 IFS=$'\\n'\n"
           "    [[ $words == " + CompletionWords::kZones + " ]] && words=$(" + f + "_zones)\n"
           "    COMPREPLY=($(IFS=$' \\n'; compgen -W \"$words\" -- \"$2\"))\n"
           "}\n"
           + f + "() {\n"
           "    local current=${COMP_WORDS[COMP_CWORD]} path=\"" + name + "\" index word option= skip=0\n"
           "    for ((index = 1; index < COMP_CWORD; index++)); do\n"
           "        word=${COMP_WORDS[index]}\n"
           "        if ((skip)); then skip=0; continue; fi\n"
           "        if [[ \" ${" + f + "_valued[$path]} \" == *\" $word \"* ]]; then skip=1; option=$word; continue; fi\n"
           "        if [[ \" ${" + f + "_actions[$path]} \" == *\" $word \"* ]]; then\n"
           "            path=\"$path $word\"\n"
           "        fi\n"
           "    done\n"
           "    if ((skip)); then\n"
           "        if [[ -n ${" + f + "_values[$path $option]} ]]; then\n"
           "            " + f + "_offer \"${" + f + "_values[$path $option]}\" \"$current\"\n"
           "        else\n"
           "            " + f + "_files \"$current\"\n"
           "        fi\n"
           "    elif [[ $current == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"${" + f + "_options[$path]}\" -- \"$current\"))\n"
           "    elif [[ $path == \"" + name + " help\" ]]; then\n"
           "        COMPREPLY=($(compgen -W \"${" + f + "_actions[" + name + "]}\" -- \"$current\"))\n"
           "    elif [[ -n ${" + f + "_actions[$path]} ]]; then\n"
           "        COMPREPLY=($(compgen -W \"${" + f + "_actions[$path]}\" -- \"$current\"))\n"
           "    elif [[ -n ${" + f + "_values[$path]} ]]; then\n"
           "        " + f + "_offer \"${" + f + "_values[$path]}\" \"$current\"\n"
           "    else\n"
           "        " + f + "_files \"$current\"\n"
           "    fi\n"
           "}\n"
           "complete -F " + f + " " + name + "\n";
}

}  // namespace handheld
