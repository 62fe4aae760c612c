#pragma once
// `handheld notify list`: the handheld's notification database, one registration a
// line: the program, whether it waits for a time or an event, which one, and the word
// the program will find on its command line when it is started.

#include "Verb.h"

namespace handheld {

class NotifyVerb : public Verb {
public:
    NotifyVerb() : Verb("notify", "list the programs registered to run at a time or event") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
    static ExitCode list(Console& console);
};

}  // namespace handheld
