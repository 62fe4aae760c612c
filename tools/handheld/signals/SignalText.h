#pragma once
// What the signal-file readers share: numbers in their words, durations within bounds,
// and words quoted safely in messages (a binary file's bytes are never echoed raw).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace handheld {

class SignalText {
public:
    // A word for a message: at most 24 characters, bytes outside printable ASCII as \xNN.
    static std::string Quoted(std::string_view word);
    static std::optional<std::uint64_t> Number(std::string_view word, int base = 10);
    static std::vector<std::string> Words(std::string_view line);
    static std::vector<std::string> Lines(std::string_view text);
    // The line without a '#' comment.
    static std::string_view Uncommented(std::string_view line);
    // "" when 1 <= us <= the longest entry, else why not.
    static std::string CheckDuration(std::uint64_t us);
    static std::string CheckCarrier(std::uint64_t hz);
};

}  // namespace handheld
