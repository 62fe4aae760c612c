#include "IrVerb.h"

#include "IrLogCommand.h"
#include "IrPacingCommand.h"
#include "IrSendCommand.h"

namespace handheld {

IrVerb::IrVerb() : VerbGroup("ir", "show or send infrared transmissions; pacing of the SoC") {
    add(std::make_unique<IrLogCommand>());
    add(std::make_unique<IrPacingCommand>());
    add(std::make_unique<IrSendCommand>());
}

void IrVerb::declare(CLI::App& command) {
    VerbGroup::declare(command);
    describe("The handheld's infrared transmitter: what it sent, how fast the SoC runs, and sending.");
    command.footer("example:\n  handheld ir log --last");
}

}  // namespace handheld
