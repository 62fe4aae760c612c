#pragma once
// `handheld ir press FILE [--button NAME] [--hold SECONDS] [--after SECONDS]`: queues a
// press of a remote's button for the handheld's next infrared capture: the signal's
// lead-in, then its frame again and again while the button is held, starting the given
// time after the capture first looks at its receiver.

#include <chrono>
#include <string>

#include "Verb.h"

namespace handheld {

class IrPressCommand : public Verb {
public:
    IrPressCommand() : Verb("press", "press a remote's button at the receiver for the next capture") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;

    std::string file_;
    std::string button_;
    std::chrono::milliseconds hold_{1000};
    std::chrono::milliseconds after_{500};
};

}  // namespace handheld
