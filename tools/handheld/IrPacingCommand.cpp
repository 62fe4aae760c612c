#include "IrPacingCommand.h"

#include "CompletionWords.h"
#include "host/Device.h"
#include "host/hw/Machine.h"
#include "host/hw/lirc/InfraredPortSetting.h"

namespace handheld {

void IrPacingCommand::declare(CLI::App& command) {
    describe(
        "Shows or sets whether the simulated processor keeps its clock to the wall clock\n"
        "(on: a 1-second signal takes a second; off: as fast as the host runs). Either way\n"
        "the trace is the same. Takes effect for programs started later.");
    CompletionWords::one_of(command.add_option("MODE", mode_, "on or off; without it, shows the setting"), {"on", "off"});
    command.footer("example:\n  handheld ir pacing off");
}

ExitCode IrPacingCommand::run(Console& console) {
    auto& database = host::Device::current().database();
    if (mode_.empty()) {
        console.out() << "pacing " << database.setting(host::hw::kPacingSetting).value_or("on");
        if (host::hw::InfraredPortSetting::stored(database.setting(host::hw::InfraredPortSetting::kSetting)).lirc())
            console.out() << " (on while the infrared port is a LIRC device)";
        console.out() << '\n';
        return ExitCode::ok;
    }
    if (!database.set_setting(host::hw::kPacingSetting, mode_)) return console.fail("cannot store the setting");
    console.out() << "pacing " << mode_ << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
