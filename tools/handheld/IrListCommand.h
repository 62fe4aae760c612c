#pragma once
// `handheld ir list FILE`: the remotes of a LIRC remote file (lircd.conf) and their
// buttons, the names `ir send`, `ir put` and `ir press` take with --button.

#include <string>

#include "Verb.h"

namespace handheld {

class IrListCommand : public Verb {
public:
    IrListCommand() : Verb("list", "list the remotes and buttons of a LIRC remote file") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;

    std::string file_;
};

}  // namespace handheld
