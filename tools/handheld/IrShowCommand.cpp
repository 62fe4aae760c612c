#include "IrShowCommand.h"

#include "IrCodebases.h"
#include "MacroSteps.h"
#include "irlib/card/codebase.h"
#include "irlib/card/result_codes.h"
#include "irlib/irvox/command_list.h"

namespace handheld {

void IrShowCommand::declare(CLI::App& command) {
    describe("Lists the signals of a codebase of the alarms folder and its macros, as steps.");
    command.add_option("CODEBASE", codebase_, "the codebase")->required();
    command.footer("example:\n  handheld ir show 7");
}

ExitCode IrShowCommand::run(Console& console) {
    IrCodebases::select();
    platform::card::codebase codebase;
    if (const int opened = codebase.open(codebase_); opened != platform::card::kOk)
        return console.fail("codebase " + codebase_ + ": " + IrCodebases::describe(opened));

    auto& out = console.out();
    out << "codebase " << codebase_ << "\nsignals:\n";
    for (const std::string& name : codebase.signal_names()) {
        out << "  " << name << ": ";
        if (const int decoded = codebase.decode_signal(codebase.find_signal(name), 0); decoded != 0) {
            out << "cannot be decoded (" << decoded << ")\n";
            continue;
        }
        const auto& signal = codebase.decoded_signal();
        out << signal.durations.size() << " durations, repeat from " << signal.repeat_start << ", carrier "
            << signal.carrier_period << " us\n";
    }
    out << "macros:\n";
    for (const std::string& name : codebase.macro_names()) {
        irvox::command_list list;
        list.load_macro(codebase.record(codebase.find_macro(name)));
        out << "  " << name << ":\n";
        for (const auto& c : list.commands()) out << "    " << MacroSteps::text(c) << '\n';
    }
    return ExitCode::ok;
}

}  // namespace handheld
