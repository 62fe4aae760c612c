#include "IrLogCommand.h"

#include "host/Device.h"
#include "host/hw/TraceLog.h"

namespace handheld {

void IrLogCommand::declare(CLI::App& command) {
    describe(
        "Prints every infrared transmission recorded in log/ir.log, oldest first: a comment\n"
        "line per send, then LIRC mode2 text (carrier in Hz, pulse and space in microseconds).");
    command.add_flag("--last", last_, "only the latest transmission");
    command.footer("example:\n  handheld ir log --last");
}

ExitCode IrLogCommand::run(Console& console) {
    const auto blocks =
        host::hw::TraceLog(host::Device::current().log_dir() / host::hw::TraceLog::kFileName).blocks();
    if (blocks.empty()) {
        console.out() << "no infrared transmissions recorded\n";
        return ExitCode::ok;
    }
    if (last_) {
        console.out() << blocks.back();
        return ExitCode::ok;
    }
    for (const auto& block : blocks) console.out() << block;
    return ExitCode::ok;
}

}  // namespace handheld
