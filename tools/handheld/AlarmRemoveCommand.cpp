#include "AlarmRemoveCommand.h"

#include "AlarmStoreActions.h"
#include "ce/Text.h"

namespace handheld {

void AlarmRemoveCommand::declare(CLI::App& command) {
    describe("Deletes the alarm's file and its infrared database, then registers the alarm due next.");
    command.add_option("NUMBER", alarm_, "the alarm's number (12345) or file name (12345.kivo)")->required();
    command.footer("example:\n  handheld alarm remove 12345");
}

ExitCode AlarmRemoveCommand::run(Console& console) {
    std::u16string removed;
    if (const auto error = AlarmStoreActions::Remove(alarm_, &removed)) return console.fail(*error);
    console.out() << "removed " << ce::utf8_from_utf16(removed) << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
