#include "UiVerb.h"

#include "UiCommand.h"

namespace handheld {

UiVerb::UiVerb() : VerbGroup("ui", "list and operate the controls of the foreground window") {
    add(std::make_unique<UiCommand>(UiCommand::Action::dump));
    add(std::make_unique<UiCommand>(UiCommand::Action::click));
    add(std::make_unique<UiCommand>(UiCommand::Action::set));
    add(std::make_unique<UiCommand>(UiCommand::Action::select));
    add(std::make_unique<UiCommand>(UiCommand::Action::spin));
}

void UiVerb::declare(CLI::App& command) {
    VerbGroup::declare(command);
    describe("Works on the window in the handheld's foreground, through the program that shows it.");
    command.footer("example:\n  handheld ui dump && handheld ui click 2107");
}

}  // namespace handheld
