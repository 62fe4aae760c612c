#pragma once
// LIRC remote files (lircd.conf): "begin remote" blocks of parameters, flags and a
// "begin codes" (or "begin raw_codes") section, '#' comments. Read for ir send, ir put
// and ir press (one button, by --button) and for ir list (every remote and button).
// Bad input gets an error naming its line; nothing in the file is trusted: numbers are
// bounded, bit counts fit the 64-bit codes, every duration sent lasts 1 us to 1 s.

#include <string>
#include <string_view>
#include <vector>

#include "signals/LircRemote.h"
#include "signals/SignalFile.h"

namespace handheld {

struct LircConfResult {
    std::vector<LircRemote> remotes;
    std::string error;
    std::vector<std::string> notes;
};

class LircConfText {
public:
    static bool Looks(std::string_view text);
    static LircConfResult Read(std::string_view text);
    // The signal of `button`: a button name, or REMOTE/BUTTON when the file holds
    // several remotes with a button of that name.
    static void Parse(std::string_view text, const std::string& button, SignalFileResult& result);
};

}  // namespace handheld
