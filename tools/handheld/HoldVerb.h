#pragma once
// `handheld hold KEY SECONDS`: holds a key of the handheld down for that long, as if a
// finger were on it; every program of the handheld sees it through GetAsyncKeyState.
// `handheld hold X Y SECONDS`: holds the stylus on the foreground window at (X, Y).

#include <optional>
#include <string>
#include <vector>

#include "Verb.h"

namespace handheld {

class HoldVerb : public Verb {
public:
    HoldVerb() : Verb("hold", "hold a key, or the stylus on the screen, for some seconds") {}
    ExitCode run(Console& console) override;

    // A virtual-key code from a name ("LBUTTON", "A") or a number ("1", "0x0D").
    static std::optional<int> key_code(const std::string& text);

private:
    void declare(CLI::App& command) override;

    std::vector<std::string> words_;  // KEY SECONDS, or X Y SECONDS
};

}  // namespace handheld
