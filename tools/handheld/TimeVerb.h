#pragma once
// `handheld time show|set`: the handheld's local date and time. Setting it moves only
// the handheld's clock, never the host's, and raises the time-change event.

#include "Verb.h"

namespace handheld {

class TimeVerb : public Verb {
public:
    std::string_view name() const override { return "time"; }
    std::string_view summary() const override { return "show or set the handheld's local date and time"; }
    std::string_view help() const override;
    ExitCode run(const std::vector<std::string>& arguments, Console& console) override;

private:
    static ExitCode show(Console& console);
    static ExitCode set(const std::string& text, Console& console);
};

}  // namespace handheld
