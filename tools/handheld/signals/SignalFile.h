#pragma once
// The signal files people trade for infrared remotes, read by one entry point for every
// verb that takes one (ir send, ir press, ir put) and written by ir learn:
// - LIRC mode2 text: "carrier HZ", then "pulse US" / "space US" lines; '#' comments.
// - Pronto hex, learned form: "0000 FREQ INTRO REPEAT" and the burst pairs, in units of
//   the carrier period; the intro pairs are the lead-in, the repeat pairs the frame.
// - IR signals files: "Filetype: IR signals file", then per signal "name:", "type: raw",
//   "frequency:", "duty_cycle:", "data:" (pulse and space lengths in µs); `button`
//   picks one by name.
// - LIRC remote files (lircd.conf): remotes and their buttons; `button` picks one, its
//   first frame the lead-in and its repeat the frame (LircRemote).
// Pulses and spaces last 1 µs to 1 s; carriers lie between 10 and 500 kHz. What the
// reader had to change to read a file as meant comes back as notes; what it cannot
// read, as an error naming the line.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "signals/InfraredSignal.h"

namespace handheld {

struct SignalFileResult {
    std::optional<InfraredSignal> signal;
    // A remote that inverts toggle bits from press to press: its next press.
    std::optional<InfraredSignal> toggled;
    std::string error;
    std::vector<std::string> notes;
};

class SignalFile {
public:
    enum class Format { mode2, pronto, ir };

    // The file's text, or why it cannot be had (unreadable, larger than any signal file).
    static std::string Load(const std::filesystem::path& path, std::string& text);
    static SignalFileResult Read(const std::filesystem::path& path, const std::string& button = {});
    static SignalFileResult Parse(std::string_view text, const std::string& button = {});
    // The signal as the text of a file of `format` (name: the signal's name in an IR
    // signals file); notes say what the format could not hold.
    static std::string Write(const InfraredSignal& signal, Format format, const std::string& name,
                             std::vector<std::string>& notes);
    static std::optional<Format> FormatNamed(std::string_view name);
};

}  // namespace handheld
