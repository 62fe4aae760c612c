#include "Mode2Signal.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <sstream>

namespace handheld {

namespace {

std::optional<std::uint32_t> number(const std::string& word) {
    std::uint32_t value = 0;
    const auto [end, failure] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (failure != std::errc{} || end != word.data() + word.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<Mode2Signal> Mode2Signal::parse(const std::string& text, std::string& error) {
    Mode2Signal signal;
    std::istringstream lines(text);
    std::string line;
    for (int row = 1; std::getline(lines, line); ++row) {
        if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string kind, value, extra;
        if (!(words >> kind)) continue;
        const std::string where = "line " + std::to_string(row) + ": ";
        if (!(words >> value) || (words >> extra)) {
            error = where + "expected a word and a number";
            return std::nullopt;
        }
        const auto n = number(value);
        if (!n || *n > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
            error = where + "'" + value + "' is not a number of microseconds (or Hz)";
            return std::nullopt;
        }
        if (kind == "carrier") {
            if (*n == 0) {
                error = where + "carrier 0";
                return std::nullopt;
            }
            const double period = std::round(1e6 / *n);
            signal.carrier_us = period > 65535 ? 65535 : static_cast<std::uint16_t>(period);
        } else if (kind == "pulse" || kind == "space") {
            const auto length = static_cast<std::int32_t>(*n);
            signal.durations.push_back(kind == "pulse" ? length : -length);
        } else {
            error = where + "unknown word '" + kind + "' (carrier, pulse or space)";
            return std::nullopt;
        }
    }
    if (signal.carrier_us == 0) {
        error = "no 'carrier' line";
        return std::nullopt;
    }
    if (signal.durations.empty()) {
        error = "no pulse or space";
        return std::nullopt;
    }
    return signal;
}

}  // namespace handheld
