#pragma once
// Pronto hex, learned form: "0000 FREQ INTRO REPEAT" then INTRO + REPEAT burst pairs
// (on, off), every word four hex digits. FREQ gives the carrier, 1000000 / (FREQ ×
// 0.241246) Hz, and durations are in carrier periods. The intro pairs are the lead-in,
// the repeat pairs the frame repeated while a button is held.

#include <string_view>

#include "signals/SignalFile.h"

namespace handheld {

class ProntoText {
public:
    // Whether the text is nothing but four-digit hex words, the first of them 0000-like.
    static bool Looks(std::string_view text);
    static void Parse(std::string_view text, SignalFileResult& result);
    static std::string Write(const InfraredSignal& signal, std::vector<std::string>& notes);
};

}  // namespace handheld
