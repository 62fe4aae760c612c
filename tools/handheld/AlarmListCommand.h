#pragma once
// `handheld alarm list`: the alarms of the store in the order the file system returns
// them, each with when it is next due; * marks the one the handheld wakes for.

#include "Verb.h"

namespace handheld {

class AlarmListCommand : public Verb {
public:
    AlarmListCommand() : Verb("list", "the alarms, with the time each is next due") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
};

}  // namespace handheld
