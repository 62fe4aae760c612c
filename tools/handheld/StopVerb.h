#pragma once
// `handheld stop`: stops the handheld's notification service. Registrations stay in the
// notification database; one whose time passes meanwhile runs when the service starts
// again.

#include "Verb.h"

namespace handheld {

class StopVerb : public Verb {
public:
    StopVerb() : Verb("stop", "stop the handheld's notification service") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
};

}  // namespace handheld
