#include "IrVerb.h"

#include "IrLearnCommand.h"
#include "IrListCommand.h"
#include "IrLogCommand.h"
#include "IrMacroCommand.h"
#include "IrPacingCommand.h"
#include "IrPortCommand.h"
#include "IrPressCommand.h"
#include "IrPutCommand.h"
#include "IrRunCommand.h"
#include "IrSendCommand.h"
#include "IrShowCommand.h"

namespace handheld {

IrVerb::IrVerb()
    : VerbGroup("ir", "send, press and learn infrared signals; show transmissions; store and run macros; pacing of the SoC; the port") {
    add(std::make_unique<IrLogCommand>());
    add(std::make_unique<IrPacingCommand>());
    add(std::make_unique<IrPortCommand>());
    add(std::make_unique<IrSendCommand>());
    add(std::make_unique<IrPressCommand>());
    add(std::make_unique<IrLearnCommand>());
    add(std::make_unique<IrListCommand>());
    add(std::make_unique<IrPutCommand>());
    add(std::make_unique<IrMacroCommand>());
    add(std::make_unique<IrShowCommand>());
    add(std::make_unique<IrRunCommand>());
}

void IrVerb::declare(CLI::App& command) {
    VerbGroup::declare(command);
    describe(
        "The handheld's infrared port: what its transmitter sent, how fast the SoC runs,\n"
        "whether a real LIRC transceiver sends and receives for it, sending signal files,\n"
        "pressing a remote's button at its receiver and learning it;\n"
        "the signals and macros of the alarms folder's codebases, stored and run as at alarm time.");
    command.footer(
        "examples:\n  handheld ir log --last\n  handheld ir press remote.ir --button Power && handheld ir learn --format pronto\n"
        "  handheld ir put 7 TV tv.mode2\n"
        "  handheld ir list remote.conf && handheld ir put 7 TV remote.conf --button KEY_POWER\n"
        "  handheld ir macro 7 Alarm signal:TV delay:1500 signal:TV hold-ms:1000\n  handheld ir run 7 Alarm");
}

}  // namespace handheld
