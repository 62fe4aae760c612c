#pragma once
// `handheld alarm remove NUMBER`: deletes an alarm and its infrared database, as the
// alarm list deletes one, then registers the alarm due next.

#include <string>

#include "Verb.h"

namespace handheld {

class AlarmRemoveCommand : public Verb {
public:
    AlarmRemoveCommand() : Verb("remove", "delete an alarm and its infrared database") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;

    std::string alarm_;
};

}  // namespace handheld
