#pragma once
// IR signals files: a "Filetype: IR signals file" header, then signals of
// "name:", "type:", and for raw ones "frequency:" (Hz), "duty_cycle:" (0..1) and
// "data:" (pulse and space lengths in µs, alternating, pulse first). Only raw signals
// are read; `button` picks one by name, and may be left out when there is just one.

#include <string>
#include <string_view>

#include "signals/SignalFile.h"

namespace handheld {

class IrSignalsText {
public:
    static bool Looks(std::string_view text);
    static void Parse(std::string_view text, const std::string& button, SignalFileResult& result);
    static std::string Write(const InfraredSignal& signal, const std::string& name);
};

}  // namespace handheld
