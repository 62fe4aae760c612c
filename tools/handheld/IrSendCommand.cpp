#include "IrSendCommand.h"

#include <fstream>
#include <sstream>

#include "Arguments.h"
#include "irdriver/IrDriverInstance.h"
#include "Mode2Signal.h"
#include "ce/Text.h"
#include "host/Device.h"
#include "host/hw/InputState.h"
#include "host/hw/Machine.h"

namespace handheld {

namespace {

constexpr unsigned kLongestHoldSeconds = 3600;

}  // namespace

std::u16string IrSendCommand::infrared_port() {
    for (const auto& port : host::hw::Machine::current().profile().ports)
        if (port.key.find(u"IrDA") != std::u16string_view::npos) return std::u16string(port.name);
    return {};
}

void IrSendCommand::declare(CLI::App& command) {
    describe(
        "Sends a LIRC mode2 file (a carrier line in Hz, pulse and space lines in microseconds;\n"
        "every pass sends the whole file) through the handheld's infrared driver, as the\n"
        "programs do, so that it shows up in `handheld ir log`.");
    command.add_option("FILE", file_, "the mode2 file")->required();
    CLI::Option* passes = add_number(command, "--passes", passes_, 1, 65534, "passes, 1 to 65534 (default 1)");
    hold_option_ =
        add_seconds(command, "--hold", hold_, kLongestHoldSeconds, "passes while the action key is held this long, 0 to 3600");
    passes->excludes(hold_option_);
    command.add_option("--port", port_, "the serial port (default: the profile's infrared port)")->type_name("COMn:");
    command.footer("example:\n  handheld ir send signal.mode2 --hold 1.5 && handheld ir log --last");
}

ExitCode IrSendCommand::run(Console& console) {
    const bool held = hold_option_->count() > 0;
    // Held: at least one pass, then passes while the key is down.
    const auto repeat_count = static_cast<std::uint16_t>(held ? 0xFFFF : passes_);
    const int hold_key = held ? kHoldKey : 0;

    std::ifstream file(file_, std::ios::binary);
    if (!file) return console.fail("cannot read " + file_);
    std::ostringstream text;
    text << file.rdbuf();
    std::string error;
    const auto signal = Mode2Signal::parse(text.str(), error);
    if (!signal) return console.fail(file_ + ": " + error);
    if (signal->durations.size() > CIrDrvr::kMaxEntries)
        return console.fail("the signal has " + std::to_string(signal->durations.size()) + " entries; the driver keeps " +
                            std::to_string(CIrDrvr::kMaxEntries));

    const std::u16string port = port_.empty() ? infrared_port() : ce::utf16_from_utf8(port_);
    CIrDrvr* driver = GetIrDriver();
    if (driver == nullptr) return console.fail("the handheld's processor has no infrared driver");
    driver->SetPortName(port.c_str());
    // Every pass sends the whole file: it is one frame.
    int result = driver->SetSignal(signal->durations.data(), static_cast<std::uint16_t>(signal->durations.size()), 0,
                                   signal->carrier_us);
    if (result == kIrOk) {
        if (hold_key != 0) host::hw::InputState(host::Device::current().run_dir()).hold(hold_key, hold_);
        result = driver->Send(repeat_count, hold_key);
    }
    ReleaseIrDriver();
    if (result != kIrOk) return console.fail("the driver refused the signal (code " + std::to_string(result) + ")");
    console.out() << "sent; see handheld ir log --last\n";
    return ExitCode::ok;
}

}  // namespace handheld
