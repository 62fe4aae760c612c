#pragma once
// `handheld ir log [--last]` prints what the infrared LED sent, as LIRC mode2 text;
// `handheld ir pacing [on|off]` shows or sets whether the SoC keeps to the wall clock;
// `handheld ir send FILE` sends a mode2 signal through the infrared driver.

#include "Verb.h"

namespace handheld {

class IrVerb : public Verb {
public:
    std::string_view name() const override { return "ir"; }
    std::string_view summary() const override { return "show or send infrared transmissions; pacing of the SoC"; }
    std::string_view help() const override;
    ExitCode run(const std::vector<std::string>& arguments, Console& console) override;

private:
    static ExitCode log(const std::vector<std::string>& arguments, Console& console);
    static ExitCode pacing(const std::vector<std::string>& arguments, Console& console);
};

}  // namespace handheld
