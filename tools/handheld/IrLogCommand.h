#pragma once
// `handheld ir log [--last]`: every infrared transmission recorded in log/ir.log, as
// LIRC mode2 text, oldest first.

#include "Verb.h"

namespace handheld {

class IrLogCommand : public Verb {
public:
    IrLogCommand() : Verb("log", "print the recorded transmissions as LIRC mode2 text") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;

    bool last_ = false;
};

}  // namespace handheld
