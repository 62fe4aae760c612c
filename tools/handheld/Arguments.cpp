#include "Arguments.h"

#include "CompletionWords.h"

#include <charconv>
#include <cmath>
#include <functional>

#include "ce/Text.h"

namespace handheld {

bool same_word(std::string_view first, std::string_view second) {
    return ce::lstrcmpiW(ce::utf16_from_utf8(first).c_str(), ce::utf16_from_utf8(second).c_str()) == 0;
}

std::optional<std::uint32_t> whole_number(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return number;
}

std::optional<std::chrono::milliseconds> seconds(std::string_view text) {
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (!std::isfinite(number) || number < 0 || number > 1e12) return std::nullopt;
    return std::chrono::milliseconds(std::llround(number * 1000));
}

namespace {

CLI::Option* add_checked_number(CLI::App& command, const std::string& name, std::function<void(std::uint32_t)> store,
                                std::uint32_t low, std::uint32_t high, const std::string& description,
                                const std::string& noun) {
    const CLI::Validator range(
        [low, high, noun](const std::string& text) -> std::string {
            const auto number = whole_number(text);
            if (number && *number >= low && *number <= high) return {};
            return "'" + text + "' is not " + noun + " from " + std::to_string(low) + " to " + std::to_string(high);
        },
        "", "range");
    CLI::Option* option =
        command
            .add_option_function<std::string>(
                name, [store](const std::string& text) { store(whole_number(text).value_or(0)); }, description)
            ->check(range)
            ->type_name("N");
    // A short range is offered whole at Tab ("1 2 … 10" for a volume).
    constexpr std::uint32_t kLongestOffered = 20;
    if (high - low < kLongestOffered) {
        std::string words;
        for (std::uint32_t number = low; number <= high; ++number)
            words += (words.empty() ? "" : " ") + std::to_string(number);
        CompletionWords::offer(option, words);
    }
    return option;
}

}  // namespace

CLI::Option* add_number(CLI::App& command, const std::string& name, std::uint32_t& value, std::uint32_t low,
                        std::uint32_t high, const std::string& description, const std::string& noun) {
    return add_checked_number(
        command, name, [&value](std::uint32_t number) { value = number; }, low, high, description, noun);
}

CLI::Option* add_number(CLI::App& command, const std::string& name, std::optional<std::uint32_t>& value,
                        std::uint32_t low, std::uint32_t high, const std::string& description,
                        const std::string& noun) {
    return add_checked_number(
        command, name, [&value](std::uint32_t number) { value = number; }, low, high, description, noun);
}

CLI::Option* add_seconds(CLI::App& command, const std::string& name, std::chrono::milliseconds& value,
                         unsigned longest, const std::string& description) {
    const CLI::Validator range(
        [longest](const std::string& text) -> std::string {
            const auto duration = seconds(text);
            if (duration && *duration <= std::chrono::seconds(longest)) return {};
            return "'" + text + "' is not a number of seconds from 0 to " + std::to_string(longest);
        },
        "", "seconds");
    return command
        .add_option_function<std::string>(
            name, [&value](const std::string& text) { value = seconds(text).value_or(std::chrono::milliseconds(0)); },
            description)
        ->check(range)
        ->type_name("SECONDS");
}

}  // namespace handheld
