#pragma once
// `handheld ir send FILE [--passes N | --hold SECONDS] [--port COMn:]`: sends a mode2
// signal through the handheld's infrared driver as the programs do (GetIrDriver,
// SetPortName, SetSignal, Send, ReleaseIrDriver), so it shows up in `handheld ir log`.

#include <string>
#include <vector>

#include "Console.h"
#include "ExitCode.h"

namespace handheld {

class IrSendCommand {
public:
    static constexpr int kHoldKey = 0x0D;  // the action key, as the test buttons hold it

    static ExitCode run(const std::vector<std::string>& arguments, Console& console);
};

}  // namespace handheld
