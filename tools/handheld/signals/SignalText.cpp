#include "signals/SignalText.h"

#include <charconv>
#include <cstdio>

#include "signals/InfraredSignal.h"

namespace handheld {

std::string SignalText::Quoted(std::string_view word) {
    constexpr std::size_t kLongest = 24;
    std::string quoted = "'";
    for (std::size_t i = 0; i < word.size() && i < kLongest; ++i) {
        const auto byte = static_cast<unsigned char>(word[i]);
        if (byte >= 0x20 && byte < 0x7F) {
            quoted += static_cast<char>(byte);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            quoted += escaped;
        }
    }
    if (word.size() > kLongest) quoted += "...";
    return quoted + "'";
}

std::optional<std::uint64_t> SignalText::Number(std::string_view word, int base) {
    std::uint64_t value = 0;
    const auto [end, failure] = std::from_chars(word.data(), word.data() + word.size(), value, base);
    if (failure != std::errc{} || end != word.data() + word.size()) return std::nullopt;
    return value;
}

std::vector<std::string> SignalText::Words(std::string_view line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t\r\n\v\f", at);
        if (start == std::string_view::npos) break;
        const std::size_t end = std::min(line.find_first_of(" \t\r\n\v\f", start), line.size());
        words.emplace_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

std::vector<std::string> SignalText::Lines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        lines.emplace_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

std::string_view SignalText::Uncommented(std::string_view line) {
    return line.substr(0, line.find('#'));
}

std::string SignalText::CheckDuration(std::uint64_t us) {
    if (us == 0) return "a duration of 0 (pulses and spaces last 1 to 1000000 us)";
    if (us > static_cast<std::uint64_t>(InfraredSignal::kLongestEntryUs))
        return "a duration of " + std::to_string(us) + " us (at most 1000000 us, one second)";
    return {};
}

std::string SignalText::CheckCarrier(std::uint64_t hz) {
    if (hz < InfraredSignal::kLowestCarrierHz || hz > InfraredSignal::kHighestCarrierHz)
        return "a carrier of " + std::to_string(hz) + " Hz (infrared remotes use 10000 to 500000 Hz)";
    return {};
}

}  // namespace handheld
