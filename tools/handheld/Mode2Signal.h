#pragma once
// A signal in LIRC "mode2" text, the form `handheld ir log` prints: a "carrier N" line
// (Hz), then "pulse N" and "space N" lines in microseconds; "#" starts a comment.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace handheld {

struct Mode2Signal {
    std::vector<std::int32_t> durations;  // pulses positive, spaces negative
    std::uint16_t carrier_us = 0;         // period, rounded to the microsecond

    // The signal, or nullopt with `error` saying which line is wrong and why.
    static std::optional<Mode2Signal> parse(const std::string& text, std::string& error);
};

}  // namespace handheld
