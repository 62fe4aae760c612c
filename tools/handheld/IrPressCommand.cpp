#include "IrPressCommand.h"

#include "Arguments.h"
#include "host/Device.h"
#include "host/hw/ReceiverQueue.h"
#include "host/hw/lirc/InfraredPortSetting.h"
#include "signals/SignalFile.h"

namespace handheld {

namespace {

constexpr unsigned kLongestSeconds = 60;

}  // namespace

void IrPressCommand::declare(CLI::App& command) {
    describe(
        "Queues a press of a remote's button for the next capture (`ir learn`, or a program\n"
        "learning): the signal file's lead-in, then its frame again and again while the\n"
        "button is held, starting some time after the capture first looks at the receiver.\n"
        "One press waits at a time. Signal files as for `ir send`.");
    command.add_option("FILE", file_, "the signal file")->required();
    command.add_option("--button", button_, "the signal of an IR signals file to press")->type_name("NAME");
    add_seconds(command, "--hold", hold_, kLongestSeconds, "how long the button is held (1 by default)");
    add_seconds(command, "--after", after_, kLongestSeconds,
                "from the capture's first look at the receiver to the press (0.5 by default)");
    command.footer("example:\n  handheld ir press remote.ir --button Power --hold 1 && handheld ir learn");
}

ExitCode IrPressCommand::run(Console& console) {
    SignalFileResult read = SignalFile::Read(file_, button_);
    if (!read.signal) return console.fail(file_ + ": " + read.error);
    InfraredSignal& signal = *read.signal;
    if (const std::string closed = signal.close_frame(); !closed.empty()) read.notes.push_back(closed);
    for (const std::string& note : read.notes) console.note(note);

    host::hw::ReceiverQueue queue(host::Device::current().run_dir());
    if (queue.waiting()) console.note("the press queued before is replaced");
    if (host::hw::InfraredPortSetting::stored(
            host::Device::current().database().setting(host::hw::InfraredPortSetting::kSetting))
            .lirc())
        console.note("the infrared port is a LIRC device: learning hears its receiver, not this press");
    sim::InfraredPress press;
    press.intro = signal.intro;
    press.repeat = signal.repeat;
    press.carrier_hz = signal.carrier_hz;
    press.duty_percent = signal.duty_percent;
    press.hold_ns = std::chrono::nanoseconds(hold_).count();
    press.after_ns = std::chrono::nanoseconds(after_).count();
    if (!queue.put(press)) return console.fail("cannot queue the press in " + host::Device::current().run_dir().string());
    console.out() << "queued for the next capture: " << signal.intro.size() << " lead-in and " << signal.repeat.size()
                  << " frame entries at " << signal.carrier_hz << " Hz, held " << hold_.count() << " ms, "
                  << after_.count() << " ms after the capture starts\n";
    return ExitCode::ok;
}

}  // namespace handheld
