#pragma once
// `handheld ir show CODEBASE`: the signals of a codebase of the alarms folder (their
// first part) and its macros, each as the steps `handheld ir macro` takes.

#include <string>

#include "Verb.h"

namespace handheld {

class IrShowCommand : public Verb {
public:
    IrShowCommand() : Verb("show", "list a codebase's signals and macros") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;

    std::string codebase_;
};

}  // namespace handheld
