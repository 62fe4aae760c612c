#pragma once
// `handheld run DEVICE-PATH [ARGUMENTS]`: starts a program of the handheld's image as the
// handheld's shell does; it keeps running after the tool has ended.

#include <string>
#include <vector>

#include "Verb.h"

namespace handheld {

class RunVerb : public Verb {
public:
    RunVerb() : Verb("run", "start a program of the handheld") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;

    std::string program_;
    std::vector<std::string> arguments_;
};

}  // namespace handheld
