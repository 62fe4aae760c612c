#pragma once
// `handheld screenshot [FILE]`: the foreground window as PNG, drawn by the program itself.

#include <string>

#include "Verb.h"

namespace handheld {

class ScreenshotVerb : public Verb {
public:
    ScreenshotVerb() : Verb("screenshot", "save the foreground window as a PNG picture") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;

    std::string file_ = "screenshot.png";
};

}  // namespace handheld
