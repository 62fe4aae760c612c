#pragma once
// `handheld notify list`: the handheld's notification database, one registration a
// line: the program, whether it waits for a time or an event, which one, and the word
// the program will find on its command line when it is started.

#include "Verb.h"

namespace handheld {

class NotifyVerb : public Verb {
public:
    std::string_view name() const override { return "notify"; }
    std::string_view summary() const override { return "list the programs registered to run at a time or event"; }
    std::string_view help() const override;
    ExitCode run(const std::vector<std::string>& arguments, Console& console) override;

private:
    static ExitCode list(Console& console);
};

}  // namespace handheld
