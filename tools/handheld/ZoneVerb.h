#pragma once
// `handheld tz show|set`: the handheld's time zone. Changing it keeps the handheld's
// UTC, so its local time moves, and raises the time-zone-change event.

#include "Verb.h"

namespace handheld {

class ZoneVerb : public Verb {
public:
    std::string_view name() const override { return "tz"; }
    std::string_view summary() const override { return "show or set the handheld's time zone"; }
    std::string_view help() const override;
    ExitCode run(const std::vector<std::string>& arguments, Console& console) override;

private:
    static ExitCode show(Console& console);
};

}  // namespace handheld
