#include "IrVerb.h"

#include "IrLearnCommand.h"
#include "IrLogCommand.h"
#include "IrPacingCommand.h"
#include "IrPressCommand.h"
#include "IrSendCommand.h"

namespace handheld {

IrVerb::IrVerb() : VerbGroup("ir", "send, press and learn infrared signals; show transmissions; pacing of the SoC") {
    add(std::make_unique<IrLogCommand>());
    add(std::make_unique<IrPacingCommand>());
    add(std::make_unique<IrSendCommand>());
    add(std::make_unique<IrPressCommand>());
    add(std::make_unique<IrLearnCommand>());
}

void IrVerb::declare(CLI::App& command) {
    VerbGroup::declare(command);
    describe(
        "The handheld's infrared port: what its transmitter sent, how fast the SoC runs,\n"
        "sending signal files, pressing a remote's button at its receiver and learning it.");
    command.footer("example:\n  handheld ir press remote.ir --button Power && handheld ir learn --format pronto\n"
                   "  handheld ir log --last");
}

}  // namespace handheld
