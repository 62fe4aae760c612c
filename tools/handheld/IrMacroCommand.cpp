#include "IrMacroCommand.h"

#include "IrCodebases.h"
#include "MacroSteps.h"
#include "irlib/card/result_codes.h"

namespace handheld {

void IrMacroCommand::declare(CLI::App& command) {
    describe(
        "Stores macro NAME in a codebase of the alarms folder (created when missing), made of\n"
        "steps: signal:NAME (sent once, or while held), followed by repeat:N (N times) or\n"
        "hold-ms:MS (for about MS ms), base:CODEBASE (from another codebase), comment:TEXT;\n"
        "macro:NAME (another macro); delay:MS (a pause); action:ID (no effect here).");
    command.add_option("CODEBASE", codebase_, "the codebase")->required();
    command.add_option("NAME", name_, "the macro's name")->required();
    command.add_option("STEP", steps_, "the steps in order")->required();
    command.footer("example:\n  handheld ir macro 7 Alarm signal:TV delay:1500 signal:VOL hold-ms:1000");
}

ExitCode IrMacroCommand::run(Console& console) {
    std::string error;
    auto commands = MacroSteps::parse(steps_, error);
    if (!commands) return console.usage(error);
    if (commands->serialise_macro(name_) != 0) return console.usage("the macro has no steps");
    // Stored under the name the record carries: without a leading "$".
    const std::string name = name_.starts_with('$') ? name_.substr(1) : name_;

    platform::card::codebase_writer writer;
    if (const int opened = IrCodebases::open_for_writing(codebase_, writer); opened != platform::card::kOk)
        return console.fail("codebase " + codebase_ + ": " + IrCodebases::describe(opened));
    if (const int put = writer.put_macro(name, commands->record()); put != platform::card::kOk)
        return console.fail("macro " + name + ": " + IrCodebases::describe(put));
    if (const int committed = writer.commit(); committed != platform::card::kOk)
        return console.fail("codebase " + codebase_ + ": " + IrCodebases::describe(committed));
    console.out() << "stored macro " << name << " (" << commands->commands().size() << " steps) in codebase "
                  << codebase_ << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
