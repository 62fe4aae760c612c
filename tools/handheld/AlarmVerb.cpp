#include "AlarmVerb.h"

#include "AlarmAddCommand.h"
#include "AlarmListCommand.h"
#include "AlarmRemoveCommand.h"

namespace handheld {

AlarmVerb::AlarmVerb() : VerbGroup("alarm", "add, list or remove the alarms of the alarm store") {
    add(std::make_unique<AlarmAddCommand>());
    add(std::make_unique<AlarmListCommand>());
    add(std::make_unique<AlarmRemoveCommand>());
}

void AlarmVerb::declare(CLI::App& command) {
    VerbGroup::declare(command);
    describe(
        "The alarm store, \\Program Files\\KIVO\\Alarms: every change is made under the store's\n"
        "lock, as the main program makes it, and followed by registering the alarm due next\n"
        "with the handheld's notification database.");
    command.footer("example:\n  handheld alarm add 07:30 --days weekdays --description \"Get up\"");
}

}  // namespace handheld
