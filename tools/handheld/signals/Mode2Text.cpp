#include "signals/Mode2Text.h"

#include "signals/SignalText.h"

namespace handheld {

void Mode2Text::Parse(std::string_view text, SignalFileResult& result) {
    InfraredSignal signal;
    bool carrier_seen = false, merged = false;
    std::uint64_t dropped_us = 0;
    std::vector<std::int32_t>& entries = signal.repeat;
    int row = 0;
    for (const std::string& line : SignalText::Lines(text)) {
        ++row;
        const auto words = SignalText::Words(SignalText::Uncommented(line));
        if (words.empty()) continue;
        const std::string where = "line " + std::to_string(row) + ": ";
        if (words.size() != 2) {
            result.error = where + "expected a word and a number, found " + SignalText::Quoted(line);
            return;
        }
        const auto n = SignalText::Number(words[1]);
        if (!n) {
            result.error = where + SignalText::Quoted(words[1]) + " is not a whole number";
            return;
        }
        if (words[0] == "carrier") {
            if (const std::string wrong = SignalText::CheckCarrier(*n); !wrong.empty()) {
                result.error = where + wrong;
                return;
            }
            signal.carrier_hz = static_cast<std::uint32_t>(*n);
            carrier_seen = true;
            continue;
        }
        if (words[0] != "pulse" && words[0] != "space") {
            result.error = where + "unknown word " + SignalText::Quoted(words[0]) + " (carrier, pulse or space)";
            return;
        }
        const bool pulse = words[0] == "pulse";
        if (!pulse && entries.empty()) {
            dropped_us += *n;
            continue;
        }
        if (const std::string wrong = SignalText::CheckDuration(*n); !wrong.empty()) {
            result.error = where + wrong;
            return;
        }
        const auto us = static_cast<std::int32_t>(*n);
        if (!entries.empty() && (entries.back() > 0) == pulse) {
            const std::int64_t sum = std::int64_t{pulse ? entries.back() : -entries.back()} + us;
            if (!SignalText::CheckDuration(static_cast<std::uint64_t>(sum)).empty()) {
                result.error = where + "two " + words[0] + "s in a row add up to more than 1000000 us";
                return;
            }
            entries.back() = static_cast<std::int32_t>(pulse ? sum : -sum);
            merged = true;
            continue;
        }
        entries.push_back(pulse ? us : -us);
    }
    if (entries.empty()) {
        result.error = "no pulse in the file";
        return;
    }
    if (!carrier_seen) result.notes.push_back("no carrier line: 38000 Hz assumed");
    if (dropped_us > 0)
        result.notes.push_back("the leading space of " + std::to_string(dropped_us) + " us was dropped");
    if (merged) result.notes.push_back("pulses or spaces in a row were joined into one");
    result.signal = std::move(signal);
}

std::string Mode2Text::Write(const InfraredSignal& signal) {
    std::string text = "carrier " + std::to_string(signal.carrier_hz) + "\n";
    for (const std::int32_t entry : signal.durations())
        text += (entry > 0 ? "pulse " : "space ") + std::to_string(entry > 0 ? entry : -entry) + "\n";
    return text;
}

}  // namespace handheld
