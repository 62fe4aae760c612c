#pragma once
// How every verb reads the words of its command line, so that two verbs never disagree:
// names compared without regard to case as the handheld compares them, whole numbers in
// decimal or 0x hexadecimal, durations in seconds with an optional fraction.

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace handheld {

// "lbutton" is "LBUTTON"; the handheld's own folding, so non-ASCII letters fold too.
bool same_word(std::string_view first, std::string_view second);

// "16" or "0x10"; nothing for a sign, other characters or more than 32 bits.
std::optional<std::uint32_t> whole_number(std::string_view text);
// "1.5" is 1500 ms, rounded to the millisecond; nothing for a negative or non-finite number.
std::optional<std::chrono::milliseconds> seconds(std::string_view text);

// An option or argument taking a whole number from `low` to `high` into `value`; a
// word out of range is refused while the command line is read, naming `noun`.
CLI::Option* add_number(CLI::App& command, const std::string& name, std::uint32_t& value, std::uint32_t low,
                        std::uint32_t high, const std::string& description, const std::string& noun = "a number");
CLI::Option* add_number(CLI::App& command, const std::string& name, std::optional<std::uint32_t>& value,
                        std::uint32_t low, std::uint32_t high, const std::string& description,
                        const std::string& noun = "a number");
// An option or argument taking seconds, 0 to `longest`, into `value`.
CLI::Option* add_seconds(CLI::App& command, const std::string& name, std::chrono::milliseconds& value,
                         unsigned longest, const std::string& description);

}  // namespace handheld
