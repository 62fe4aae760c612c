#pragma once
// `handheld ir send FILE [--button NAME] [--passes N | --hold SECONDS] [--port COMn:]`:
// sends a signal file through the handheld's infrared driver as the programs do
// (GetIrDriver, SetPortName, SetSignal, Send, ReleaseIrDriver), so it shows up in
// `handheld ir log`.

#include <chrono>
#include <cstdint>
#include <string>

#include "Verb.h"

namespace handheld {

class IrSendCommand : public Verb {
public:
    static constexpr int kHoldKey = 0x0D;  // the action key, as the test buttons hold it

    IrSendCommand() : Verb("send", "send a signal file through the infrared driver") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;

    std::string file_;
    std::string button_;
    std::uint32_t passes_ = 1;
    std::chrono::milliseconds hold_{0};
    CLI::Option* hold_option_ = nullptr;
    std::string port_;
};

}  // namespace handheld
