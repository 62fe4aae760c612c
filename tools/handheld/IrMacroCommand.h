#pragma once
// `handheld ir macro CODEBASE NAME STEP...`: stores a macro made of steps (MacroSteps.h)
// in a codebase of the alarms folder, creating the codebase when there is none.

#include <string>
#include <vector>

#include "Verb.h"

namespace handheld {

class IrMacroCommand : public Verb {
public:
    IrMacroCommand() : Verb("macro", "store a macro made of steps in a codebase") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;

    std::string codebase_;
    std::string name_;
    std::vector<std::string> steps_;
};

}  // namespace handheld
