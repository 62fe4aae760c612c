#pragma once
// `handheld ir run CODEBASE MACRO [--stop-at-error] [--port COMn:]`: runs a macro of a
// codebase of the alarms folder through the infrared driver, as the alert program does
// at alarm time (passing over failed steps unless --stop-at-error, as the main program's
// test does); `handheld ir log` then shows what was sent.

#include <string>

#include "Verb.h"

namespace handheld {

class IrRunCommand : public Verb {
public:
    IrRunCommand() : Verb("run", "run a macro of a codebase through the infrared driver") {}
    ExitCode run(Console& console) override;

    // What a macro run's state means, for a person.
    static std::string describe_state(int state, int code);

private:
    void declare(CLI::App& command) override;

    std::string codebase_;
    std::string macro_;
    bool stop_at_error_ = false;
    std::string port_;
};

}  // namespace handheld
