#pragma once
// `handheld ps`: the handheld's running programs and their top-level windows, so a person
// can see what started and what woke up.

#include "Verb.h"

namespace handheld {

class PsVerb : public Verb {
public:
    PsVerb() : Verb("ps", "list the running programs and their windows") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
};

}  // namespace handheld
