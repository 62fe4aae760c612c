#pragma once
// `handheld hold KEY SECONDS`: holds a key of the handheld down for that long, as if a
// finger were on it; every program of the handheld sees it through GetAsyncKeyState.

#include <chrono>
#include <optional>
#include <string>

#include "Verb.h"

namespace handheld {

class HoldVerb : public Verb {
public:
    HoldVerb() : Verb("hold", "hold a key down for some seconds") {}
    ExitCode run(Console& console) override;

private:
    // A virtual-key code from a name ("LBUTTON", "A") or a number ("1", "0x0D").
    static std::optional<int> key_code(const std::string& text);
    void declare(CLI::App& command) override;

    std::string key_name_;
    std::chrono::milliseconds duration_{0};
};

}  // namespace handheld
