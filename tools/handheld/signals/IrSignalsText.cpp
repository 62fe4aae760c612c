#include "signals/IrSignalsText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>

#include "signals/SignalText.h"

namespace handheld {

namespace {

struct Record {
    int line = 0;
    std::string name, type, protocol, frequency, duty_cycle;
    std::vector<std::string> data;
};

std::string Trimmed(std::string_view text) {
    const auto words = SignalText::Words(text);
    std::string joined;
    for (const auto& word : words) joined += (joined.empty() ? "" : " ") + word;
    return joined;
}

bool Header(std::string_view value) { return value == "IR signals file" || value == "IR library file"; }

std::string Names(const std::vector<Record>& records) {
    std::string names;
    for (const Record& record : records) names += (names.empty() ? "" : ", ") + SignalText::Quoted(record.name);
    return names;
}

void Convert(const Record& record, SignalFileResult& result) {
    const std::string where = "signal " + SignalText::Quoted(record.name) + " (line " + std::to_string(record.line) + "): ";
    if (record.type != "raw") {
        result.error = where + "a " + (record.type.empty() ? "typeless" : SignalText::Quoted(record.type)) +
                       " signal" + (record.protocol.empty() ? "" : " (protocol " + SignalText::Quoted(record.protocol) + ")") +
                       "; only raw signals are read";
        return;
    }
    InfraredSignal signal;
    const auto hz = SignalText::Number(record.frequency);
    if (!hz) {
        result.error = where + "frequency " + SignalText::Quoted(record.frequency) + " is not a whole number of Hz";
        return;
    }
    if (const std::string wrong = SignalText::CheckCarrier(*hz); !wrong.empty()) {
        result.error = where + wrong;
        return;
    }
    signal.carrier_hz = static_cast<std::uint32_t>(*hz);
    signal.duty_percent = 33;
    if (!record.duty_cycle.empty()) {
        char* end = nullptr;
        const double duty = std::strtod(record.duty_cycle.c_str(), &end);
        if (end != record.duty_cycle.c_str() + record.duty_cycle.size() || !(duty > 0.0 && duty < 1.0)) {
            result.error = where + "duty_cycle " + SignalText::Quoted(record.duty_cycle) + " is not a fraction between 0 and 1";
            return;
        }
        signal.duty_percent = static_cast<unsigned>(std::clamp(std::lround(duty * 100), 1L, 99L));
    }
    for (const std::string& word : record.data) {
        const auto us = SignalText::Number(word);
        if (!us) {
            result.error = where + "data " + SignalText::Quoted(word) + " is not a whole number of us";
            return;
        }
        if (const std::string wrong = SignalText::CheckDuration(*us); !wrong.empty()) {
            result.error = where + "data has " + wrong;
            return;
        }
        const auto entry = static_cast<std::int32_t>(*us);
        signal.repeat.push_back(signal.repeat.size() % 2 == 0 ? entry : -entry);
    }
    if (signal.repeat.empty()) {
        result.error = where + "no data";
        return;
    }
    result.signal = std::move(signal);
}

}  // namespace

bool IrSignalsText::Looks(std::string_view text) {
    for (const std::string& line : SignalText::Lines(text)) {
        const std::string content = Trimmed(SignalText::Uncommented(line));
        if (!content.empty()) return content.rfind("Filetype:", 0) == 0;
    }
    return false;
}

void IrSignalsText::Parse(std::string_view text, const std::string& button, SignalFileResult& result) {
    std::vector<Record> records;
    bool header = false;
    int row = 0;
    for (const std::string& line : SignalText::Lines(text)) {
        ++row;
        const std::string_view content = SignalText::Uncommented(line);
        if (Trimmed(content).empty()) continue;
        const std::size_t colon = content.find(':');
        const std::string where = "line " + std::to_string(row) + ": ";
        if (colon == std::string_view::npos) {
            result.error = where + "expected 'key: value', found " + SignalText::Quoted(line);
            return;
        }
        const std::string key = Trimmed(content.substr(0, colon));
        const std::string value = Trimmed(content.substr(colon + 1));
        if (!header) {
            if (key != "Filetype" || !Header(value)) {
                result.error = where + "not an IR signals file (" + SignalText::Quoted(line) + ")";
                return;
            }
            header = true;
            continue;
        }
        if (key == "Version") continue;
        if (key == "name") {
            records.push_back({row, value, {}, {}, {}, {}, {}});
            continue;
        }
        if (records.empty()) {
            result.error = where + SignalText::Quoted(key) + " before the first 'name:'";
            return;
        }
        Record& record = records.back();
        if (key == "type") record.type = value;
        else if (key == "protocol") record.protocol = value;
        else if (key == "frequency") record.frequency = value;
        else if (key == "duty_cycle") record.duty_cycle = value;
        else if (key == "data") for (auto& word : SignalText::Words(value)) record.data.push_back(word);
    }
    if (records.empty()) {
        result.error = "the file holds no signal";
        return;
    }
    if (button.empty()) {
        if (records.size() > 1) {
            result.error = "the file holds " + std::to_string(records.size()) + " signals (" + Names(records) +
                           "): pick one with --button";
            return;
        }
        return Convert(records.front(), result);
    }
    for (const Record& record : records)
        if (record.name == button) return Convert(record, result);
    result.error = "no signal named " + SignalText::Quoted(button) + " (the file holds " + Names(records) + ")";
}

std::string IrSignalsText::Write(const InfraredSignal& signal, const std::string& name) {
    char duty[16];
    std::snprintf(duty, sizeof duty, "%.6f", signal.duty_percent / 100.0);
    std::string text = "Filetype: IR signals file\nVersion: 1\n#\nname: " + name + "\ntype: raw\nfrequency: " +
                       std::to_string(signal.carrier_hz) + "\nduty_cycle: " + duty + "\ndata:";
    for (const std::int32_t entry : signal.durations()) text += " " + std::to_string(entry > 0 ? entry : -entry);
    return text + "\n";
}

}  // namespace handheld
