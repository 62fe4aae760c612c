#pragma once
// LIRC mode2 text: "carrier HZ", "pulse US", "space US" lines, '#' comments. The whole
// file is one frame. A file without a carrier line is read at 38 kHz; a leading space
// (mode2's time since the previous signal) is dropped; two pulses or two spaces in a
// row are one; each with a note.

#include <string_view>

#include "signals/SignalFile.h"

namespace handheld {

class Mode2Text {
public:
    static void Parse(std::string_view text, SignalFileResult& result);
    static std::string Write(const InfraredSignal& signal);
};

}  // namespace handheld
