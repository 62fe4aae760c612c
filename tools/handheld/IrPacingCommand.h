#pragma once
// `handheld ir pacing [on|off]`: whether the simulated processor keeps its clock to the
// wall clock, for programs started later.

#include <string>

#include "Verb.h"

namespace handheld {

class IrPacingCommand : public Verb {
public:
    IrPacingCommand() : Verb("pacing", "show or set whether the SoC keeps to the wall clock") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;

    std::string mode_;
};

}  // namespace handheld
