#pragma once
// `handheld rotate`: turns the handheld's screen a quarter (width and height swap);
// running programs lay their windows out for the new shape.

#include "Verb.h"

namespace handheld {

class RotateVerb : public Verb {
public:
    RotateVerb() : Verb("rotate", "turn the screen a quarter (portrait <-> landscape)") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
};

}  // namespace handheld
