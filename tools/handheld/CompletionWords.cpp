#include "CompletionWords.h"

#include <map>

namespace handheld {

namespace {

// The tool's command definitions live as long as the process, and so do their words.
std::map<const CLI::Option*, std::string>& offered() {
    static std::map<const CLI::Option*, std::string> words;
    return words;
}

}  // namespace

CLI::Option* CompletionWords::offer(CLI::Option* option, std::string words) {
    offered()[option] = std::move(words);
    return option;
}

CLI::Option* CompletionWords::one_of(CLI::Option* option, const std::vector<std::string>& words) {
    std::string offered_words;
    for (const auto& word : words) offered_words += (offered_words.empty() ? "" : " ") + word;
    return offer(option->check(CLI::IsMember(words)), offered_words);
}

std::string CompletionWords::of(const CLI::Option* option) {
    const auto found = offered().find(option);
    return found == offered().end() ? std::string() : found->second;
}

}  // namespace handheld
