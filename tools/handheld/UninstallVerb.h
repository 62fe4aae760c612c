#pragma once
// `handheld uninstall`: removes KIVO from the handheld as its installer would: KIVOSETUP
// ends the running programs and removes the wake registrations, then the files go.

#include "Verb.h"

namespace handheld {

class UninstallVerb : public Verb {
public:
    UninstallVerb() : Verb("uninstall", "remove KIVO's programs from the handheld") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
};

}  // namespace handheld
