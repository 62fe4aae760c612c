#pragma once
// `handheld time show|set`: the handheld's local date and time. Setting it moves only
// the handheld's clock, never the host's, and raises the time-change event.

#include "Verb.h"

namespace handheld {

class TimeVerb : public Verb {
public:
    TimeVerb() : Verb("time", "show or set the handheld's local date and time") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
    static ExitCode show(Console& console);
    static ExitCode set(const std::string& text, Console& console);

    CLI::App* set_ = nullptr;
    std::string text_;
};

}  // namespace handheld
