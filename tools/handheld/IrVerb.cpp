#include "IrVerb.h"

#include "IrLogCommand.h"
#include "IrMacroCommand.h"
#include "IrPacingCommand.h"
#include "IrPutCommand.h"
#include "IrRunCommand.h"
#include "IrSendCommand.h"
#include "IrShowCommand.h"

namespace handheld {

IrVerb::IrVerb()
    : VerbGroup("ir", "show or send infrared transmissions; store and run macros; pacing of the SoC") {
    add(std::make_unique<IrLogCommand>());
    add(std::make_unique<IrPacingCommand>());
    add(std::make_unique<IrSendCommand>());
    add(std::make_unique<IrPutCommand>());
    add(std::make_unique<IrMacroCommand>());
    add(std::make_unique<IrShowCommand>());
    add(std::make_unique<IrRunCommand>());
}

void IrVerb::declare(CLI::App& command) {
    VerbGroup::declare(command);
    describe(
        "The handheld's infrared transmitter: what it sent, how fast the SoC runs, and sending;\n"
        "the signals and macros of the alarms folder's codebases, stored and run as at alarm time.");
    command.footer(
        "examples:\n  handheld ir log --last\n  handheld ir put 7 TV tv.mode2\n"
        "  handheld ir macro 7 Alarm signal:TV delay:1500 signal:TV hold-ms:1000\n  handheld ir run 7 Alarm");
}

}  // namespace handheld
