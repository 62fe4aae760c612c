#pragma once
// `handheld tz show|set`: the handheld's time zone. Changing it keeps the handheld's
// UTC, so its local time moves, and raises the time-zone-change event.

#include "Verb.h"

namespace handheld {

class ZoneVerb : public Verb {
public:
    ZoneVerb() : Verb("tz", "show or set the handheld's time zone") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
    static ExitCode show(Console& console);

    CLI::App* set_ = nullptr;
    std::string zone_;
};

}  // namespace handheld
