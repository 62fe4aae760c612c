#pragma once
// `handheld hold KEY SECONDS`: holds a key of the handheld down for that long, as if a
// finger were on it; every program of the handheld sees it through GetAsyncKeyState.

#include <optional>

#include "Verb.h"

namespace handheld {

class HoldVerb : public Verb {
public:
    std::string_view name() const override { return "hold"; }
    std::string_view summary() const override { return "hold a key down for some seconds"; }
    std::string_view help() const override;
    ExitCode run(const std::vector<std::string>& arguments, Console& console) override;

    // A virtual-key code from a name ("LBUTTON", "A", "7"), a number ("1", "0x0D").
    static std::optional<int> key_code(const std::string& text);
};

}  // namespace handheld
