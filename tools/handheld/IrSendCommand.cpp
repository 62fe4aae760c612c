#include "IrSendCommand.h"

#include <cstdio>
#include <cstdlib>

#include "Arguments.h"
#include "InfraredPort.h"
#include "Interrupts.h"
#include "irdriver/IrDriverInstance.h"
#include "host/hw/InputState.h"
#include "host/hw/Machine.h"
#include "signals/SignalFile.h"

namespace handheld {

namespace {

constexpr unsigned kLongestHoldSeconds = 3600;

struct CarrierRange {
    unsigned lowest_us, highest_us;
};

// The carrier periods the family's driver sends as given; it would replace others
// (the PXA, SA-11x0 and S3C drivers with 26 µs, the OMAP1510 with the nearest it has).
CarrierRange carrier_range(sim::Family family) {
    switch (family) {
        case sim::Family::omap1510: return {11, 100};
        case sim::Family::omap850: return {1, 10'000};
        default: return {10, 50};
    }
}

// Ctrl-C (or a termination request) ends a send at once, however many passes are
// left; the action key the send holds is let go first, so the handheld's programs do
// not see it held after the tool has gone.
void stop_on_interrupt(const std::filesystem::path& run_dir, const std::string& tool) {
    Interrupts::Forward([run_dir, message = tool + " ir send: interrupted\n"] {
        host::hw::InputState(run_dir).release(IrSendCommand::kHoldKey);
        std::fputs(message.c_str(), stderr);
        std::_Exit(130);
    });
}

}  // namespace

void IrSendCommand::declare(CLI::App& command) {
    describe(
        "Sends a signal file through the handheld's infrared driver, as the programs do, so\n"
        "that it shows up in `handheld ir log`. The first pass sends the lead-in and the\n"
        "frame, every later pass the frame. Signal files: LIRC mode2 text ('carrier HZ',\n"
        "'pulse US', 'space US'; the whole file is the frame), Pronto hex of learned codes\n"
        "('0000 FREQ INTRO REPEAT ...': the intro pairs are the lead-in, the repeat pairs the\n"
        "frame) and IR signals files ('Filetype: IR signals file', raw signals with name,\n"
        "frequency, duty_cycle and data) and LIRC remote files (lircd.conf, `ir list` shows their\n"
        "buttons: the lead-in is the button's first frame with the repeats every press sends,\n"
        "the frame its repeat). Pulses and spaces last 1..1000000 us, carriers\n"
        "10000..500000 Hz; a frame ending on a pulse gets a 125 ms closing space.");
    command.add_option("FILE", file_, "the signal file")->required();
    command.add_option("--button", button_, "the signal of an IR signals file, or the button of a LIRC remote file, to send")->type_name("NAME");
    CLI::Option* passes = add_number(command, "--passes", passes_, 1, 65534, "passes, 1 to 65534 (default 1)");
    hold_option_ =
        add_seconds(command, "--hold", hold_, kLongestHoldSeconds, "passes while the action key is held this long, 0 to 3600");
    passes->excludes(hold_option_);
    command.add_option("--port", port_, "the serial port (default: the profile's infrared port)")->type_name("COMn:");
    command.footer("example:\n  handheld ir send signal.mode2 --hold 1.5 && handheld ir log --last\n"
                   "  handheld ir send remote.ir --button Power\n  handheld ir send lircd.conf --button KEY_POWER --passes 3");
}

ExitCode IrSendCommand::run(Console& console) {
    const bool held = hold_option_->count() > 0;
    // Held: at least one pass, then passes while the key is down.
    const auto repeat_count = static_cast<std::uint16_t>(held ? 0xFFFF : passes_);
    const int hold_key = held ? kHoldKey : 0;

    SignalFileResult read = SignalFile::Read(file_, button_);
    if (!read.signal) return console.fail(file_ + ": " + read.error);
    InfraredSignal& signal = *read.signal;
    if (const std::string closed = signal.close_frame(); !closed.empty()) read.notes.push_back(closed);
    const std::vector<std::int32_t> durations = signal.durations();
    if (durations.size() > CIrDrvr::kMaxEntries)
        return console.fail(file_ + ": the signal has " + std::to_string(durations.size()) + " entries; the driver keeps " +
                            std::to_string(CIrDrvr::kMaxEntries));
    const CarrierRange range = carrier_range(host::hw::Machine::current().profile().family);
    const unsigned period = signal.carrier_us();
    if (period < range.lowest_us || period > range.highest_us)
        return console.fail(file_ + ": a carrier of " + std::to_string(signal.carrier_hz) + " Hz (" +
                            std::to_string(period) + " us periods); this handheld's driver sends " +
                            std::to_string(range.lowest_us) + " to " + std::to_string(range.highest_us) + " us periods");
    for (const std::string& note : read.notes) console.note(note);

    stop_on_interrupt(host::Device::current().run_dir(), console.tool());
    const std::u16string port = InfraredPort::Chosen(port_);
    CIrDrvr* driver = GetIrDriver();
    if (driver == nullptr) return console.fail("the handheld's processor has no infrared driver");
    driver->SetPortName(port.c_str());
    int result = driver->SetSignal(durations.data(), static_cast<std::uint16_t>(durations.size()),
                                   static_cast<std::uint16_t>(signal.intro.size()), signal.carrier_us());
    if (result == kIrOk) {
        // Held on the SoC's clock, which the passes are timed by: the trace lasts as long
        // whether the model keeps to the wall clock or runs as fast as it can.
        if (hold_key != 0)
            host::hw::InputState::hold_virtual(hold_key, std::chrono::duration_cast<std::chrono::nanoseconds>(hold_).count());
        result = driver->Send(repeat_count, hold_key);
    }
    ReleaseIrDriver();
    // With a LIRC port: how the device took it, or why it could not.
    auto& infrared_port = host::hw::Machine::current().infrared_port();
    const std::string lirc = infrared_port.active() ? infrared_port.last_event() : std::string();
    if (result != kIrOk)
        return console.fail("the driver refused the signal (code " + std::to_string(result) + ")" +
                            (lirc.empty() ? "" : ": " + lirc));
    console.out() << console.called("sent; see `handheld ir log --last`") << '\n';
    if (!lirc.empty()) console.out() << "lirc " << lirc << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
