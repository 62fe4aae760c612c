#pragma once
// `handheld key NAME`: presses and lets go of a key, for the program in the foreground.

#include <string>

#include "Verb.h"

namespace handheld {

class KeyVerb : public Verb {
public:
    KeyVerb() : Verb("key", "press a key for the foreground window") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;

    std::string key_name_;
};

}  // namespace handheld
