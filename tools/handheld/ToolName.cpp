#include "ToolName.h"

namespace handheld {

namespace {

// Whether the word at `at` starts a command: first on its line (examples are indented),
// right after a backquote, after a shell operator ("&& ", "| ", "$ ") or after sudo.
bool starts_command(std::string_view text, std::size_t at) {
    std::size_t before = at;
    while (before > 0 && text[before - 1] == ' ') --before;
    if (before == 0 || text[before - 1] == '\n') return true;
    if (before == at && text[at - 1] == '`') return true;
    if (before + 1 != at) return false;  // exactly one space after an operator
    // "sudo handheld install --wake": the command sudo runs.
    constexpr std::string_view kSudo = "sudo";
    if (before >= kSudo.size() && text.substr(before - kSudo.size(), kSudo.size()) == kSudo)
        return starts_command(text, before - kSudo.size());
    const char operator_end = text[before - 1];
    return operator_end == '&' || operator_end == '|' || operator_end == '$';
}

bool ends_word(std::string_view text, std::size_t at) {
    return at == text.size() || text[at] == ' ' || text[at] == '\n' || text[at] == '`';
}

}  // namespace

std::string tool_name_from(std::string_view program_path) {
    const auto slash = program_path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? program_path : program_path.substr(slash + 1);
    return name.empty() ? std::string(kBuiltName) : std::string(name);
}

std::string as_called(std::string_view text, std::string_view name) {
    if (name == kBuiltName) return std::string(text);
    std::string spelt;
    std::size_t done = 0;
    for (auto at = text.find(kBuiltName); at != std::string_view::npos; at = text.find(kBuiltName, at + 1)) {
        const std::size_t end = at + kBuiltName.size();
        if (!starts_command(text, at) || !ends_word(text, end)) continue;
        spelt.append(text.substr(done, at - done)).append(name);
        done = end;
    }
    return spelt.append(text.substr(done));
}

}  // namespace handheld
