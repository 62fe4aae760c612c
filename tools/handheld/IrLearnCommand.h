#pragma once
// `handheld ir learn [--port COMn:] [--format mode2|pronto|ir] [--name NAME]`: learns a
// signal as the programs do (GetIrDriver, SetPortName, Learn, GetLearnedSignal,
// ReleaseIrDriver) from the press queued with `ir press`, and prints the result code,
// carrier, count, repeat start and durations, or the signal as a file of --format.

#include <string>

#include "Verb.h"

namespace handheld {

class IrLearnCommand : public Verb {
public:
    IrLearnCommand() : Verb("learn", "learn a signal from the infrared receiver") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;

    std::string port_;
    std::string format_;
    std::string name_ = "Learned";
};

}  // namespace handheld
