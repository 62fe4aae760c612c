#pragma once
// `handheld time show|set|follow`: the handheld's local date and time. Setting it moves
// only the handheld's clock, never the host's, and raises the time-change event; from
// then on the handheld keeps its own clock, until it follows the computer's again.

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
    static ExitCode follow(Console& console);

    CLI::App* set_ = nullptr;
    CLI::App* follow_ = nullptr;
    std::string text_;
};

}  // namespace handheld
