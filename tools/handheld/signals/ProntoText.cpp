#include "signals/ProntoText.h"

#include <algorithm>
#include <cmath>

#include "signals/SignalText.h"

namespace handheld {

namespace {

constexpr double kFrequencyUnitUs = 0.241246;  // FREQ counts this many µs per carrier period
constexpr std::uint64_t kLearned = 0x0000;

bool HexWord(const std::string& word) { return word.size() == 4 && SignalText::Number(word, 16).has_value(); }

std::string Hex(std::uint64_t value) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string word(4, '0');
    for (int i = 3; i >= 0; --i, value >>= 4) word[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    return word;
}

}  // namespace

bool ProntoText::Looks(std::string_view text) {
    const auto words = SignalText::Words(text);
    if (words.size() < 4) return false;
    for (const auto& word : words)
        if (!HexWord(word)) return false;
    return true;
}

void ProntoText::Parse(std::string_view text, SignalFileResult& result) {
    const auto words = SignalText::Words(text);
    std::vector<std::uint64_t> values;
    for (const auto& word : words) {
        if (!HexWord(word)) {
            result.error = "word " + std::to_string(values.size() + 1) + ": " + SignalText::Quoted(word) +
                           " is not a four-digit hex word";
            return;
        }
        values.push_back(*SignalText::Number(word, 16));
    }
    if (values.size() < 4) {
        result.error = "a Pronto code needs at least four words";
        return;
    }
    if (values[0] != kLearned) {
        result.error = "a Pronto code of kind " + Hex(values[0]) + ": only learned codes (0000) are read";
        return;
    }
    if (values[1] == 0) {
        result.error = "frequency word 0000";
        return;
    }
    const std::uint64_t pairs = values[2] + values[3];
    if (pairs == 0) {
        result.error = "the code announces no burst pairs";
        return;
    }
    if (values.size() != 4 + 2 * pairs) {
        result.error = "the header announces " + std::to_string(pairs) + " burst pairs (" + std::to_string(2 * pairs) +
                       " words) but " + std::to_string(values.size() - 4) + " words follow it";
        return;
    }
    const double period_us = static_cast<double>(values[1]) * kFrequencyUnitUs;
    InfraredSignal signal;
    signal.carrier_hz = static_cast<std::uint32_t>(std::lround(1e6 / period_us));
    if (const std::string wrong = SignalText::CheckCarrier(signal.carrier_hz); !wrong.empty()) {
        result.error = "frequency word " + Hex(values[1]) + " gives " + wrong;
        return;
    }
    for (std::size_t i = 4; i < values.size(); ++i) {
        const auto us = static_cast<std::uint64_t>(std::llround(static_cast<double>(values[i]) * period_us));
        if (const std::string wrong = SignalText::CheckDuration(us); !wrong.empty()) {
            result.error = "word " + std::to_string(i + 1) + " (" + Hex(values[i]) + ") gives " + wrong;
            return;
        }
        const auto entry = static_cast<std::int32_t>(i % 2 == 0 ? us : 0 - us);
        (i < 4 + 2 * values[2] ? signal.intro : signal.repeat).push_back(entry);
    }
    result.signal = std::move(signal);
}

std::string ProntoText::Write(const InfraredSignal& signal, std::vector<std::string>& notes) {
    InfraredSignal pairs = signal;
    // Burst pairs start with a pulse: a frame that starts with a space cannot be told
    // apart, so the whole signal becomes the lead-in.
    const bool split = pairs.intro.size() % 2 == 0 && (pairs.repeat.empty() || pairs.repeat.front() > 0);
    if (!split) {
        pairs.intro = signal.durations();
        pairs.repeat.clear();
        notes.push_back("the repeat frame does not start with a pulse: written as a code without a repeat part");
    }
    if (const std::string closed = pairs.close_frame(); !closed.empty()) notes.push_back(closed);
    const auto frequency = static_cast<std::uint64_t>(std::lround(1e6 / (signal.carrier_hz * kFrequencyUnitUs)));
    const double period_us = static_cast<double>(frequency) * kFrequencyUnitUs;
    std::string text = "0000 " + Hex(frequency) + " " + Hex(pairs.intro.size() / 2) + " " + Hex(pairs.repeat.size() / 2);
    for (const std::int32_t entry : pairs.durations()) {
        const double periods = std::round(std::abs(static_cast<double>(entry)) / period_us);
        text += " " + Hex(static_cast<std::uint64_t>(std::clamp(periods, 1.0, 65535.0)));
    }
    return text + "\n";
}

}  // namespace handheld
