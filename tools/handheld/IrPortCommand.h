#pragma once
// `handheld ir port [sim | lirc DEVICE [RECEIVER]]`: shows or sets where the handheld's
// infrared port ends: the log only (sim), or a kernel LIRC device that sends every
// transmission and whose receiver learning hears (RECEIVER: a second device for the
// receiver). A LIRC device is opened and checked before it is stored.

#include <string>
#include <vector>

#include "Verb.h"

namespace handheld {

class IrPortCommand : public Verb {
public:
    IrPortCommand() : Verb("port", "show or set the infrared port: sim, or a LIRC device") {}
    ExitCode run(Console& console) override;
    // "sim", or "lirc DEVICE" with what the devices can do (or why they cannot be used).
    static std::string describe_setting();

private:
    void declare(CLI::App& command) override;

    std::vector<std::string> words_;
};

}  // namespace handheld
