#include "VerbGroup.h"

namespace handheld {

void VerbGroup::declare(CLI::App& command) {
    command.require_subcommand(1);
    for (const auto& action : actions_) action->attach(command);
}

bool VerbGroup::creates_device() const {
    for (const auto& action : actions_)
        if (action->chosen()) return action->creates_device();
    return false;
}

ExitCode VerbGroup::run(Console& console) {
    for (const auto& action : actions_)
        if (action->chosen()) return action->run(console);
    return ExitCode::usage;  // the command line's check requires an action
}

}  // namespace handheld
