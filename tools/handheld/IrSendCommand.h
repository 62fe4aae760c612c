#pragma once
// `handheld ir send FILE [--passes N | --hold SECONDS] [--port COMn:]`: sends a mode2
// signal through the handheld's infrared driver as the programs do (GetIrDriver,
// SetPortName, SetSignal, Send, ReleaseIrDriver), so it shows up in `handheld ir log`.

#include <chrono>
#include <cstdint>
#include <string>

#include "Verb.h"

namespace handheld {

class IrSendCommand : public Verb {
public:
    static constexpr int kHoldKey = 0x0D;  // the action key, as the test buttons hold it

    IrSendCommand() : Verb("send", "send a LIRC mode2 file through the infrared driver") {}
    ExitCode run(Console& console) override;

    // The serial port of the handheld's infrared UART (its driver key names IrDA).
    static std::u16string infrared_port();

private:
    void declare(CLI::App& command) override;

    std::string file_;
    std::uint32_t passes_ = 1;
    std::chrono::milliseconds hold_{0};
    CLI::Option* hold_option_ = nullptr;
    std::string port_;
};

}  // namespace handheld
