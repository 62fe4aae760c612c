#include "IrLearnCommand.h"

#include "CompletionWords.h"
#include "InfraredPort.h"
#include "host/hw/Machine.h"
#include "irdriver/IrDriverInstance.h"
#include "signals/SignalFile.h"

namespace handheld {

namespace {

std::string failure(int code) {
    switch (code) {
        case kIrLearnTimeout: return "nothing received within 20 seconds (queue one with `handheld ir press`)";
        case kIrCarrierTooSlow: return "the carrier is too slow (periods of 101 us or more)";
        case kIrMarkTooLong: return "a pulse longer than 0.8 s, or a carrier slower than 100 us";
        case kIrPortUnavailable: return "the serial port cannot be opened";
        case kIrNoPort: return "no port chosen";
        default: return "the driver failed";
    }
}

constexpr int kDurationsPerRow = 10;

}  // namespace

void IrLearnCommand::declare(CLI::App& command) {
    describe(
        "Learns a signal from the handheld's infrared receiver as the programs do (20 s for\n"
        "the first light; `ir press` plays one) and prints the result code, the carrier, the\n"
        "count, the repeat start and the durations (us), or with --format the signal as a\n"
        "file of that kind.");
    command.add_option("--port", port_, "the serial port (default: the profile's infrared port)")->type_name("COMn:");
    CompletionWords::one_of(command.add_option("--format", format_, "print the signal as a file: mode2, pronto or ir"),
                            {"mode2", "pronto", "ir"});
    command.add_option("--name", name_, "the signal's name in an ir file (Learned by default)");
    command.footer("example:\n  handheld ir press nec.pronto && handheld ir learn --format pronto > learned.pronto");
}

ExitCode IrLearnCommand::run(Console& console) {
    const std::optional<SignalFile::Format> format = SignalFile::FormatNamed(format_);
    const std::u16string port = InfraredPort::Chosen(port_);
    CIrDrvr* driver = GetIrDriver();
    if (driver == nullptr) return console.fail("the handheld's processor has no infrared driver");
    auto& infrared_port = host::hw::Machine::current().infrared_port();
    if (infrared_port.active())
        console.note("listening on " + infrared_port.setting().receive_device() +
                     " for 20 s: point the remote at the receiver, press its button and hold it for a second");
    driver->SetPortName(port.c_str());
    const int code = driver->Learn();
    std::unique_ptr<std::int32_t[]> durations;
    std::uint16_t count = 0, repeat_start = 0, carrier_us = 0;
    driver->GetLearnedSignal(durations, count, repeat_start, carrier_us);
    ReleaseIrDriver();
    // What the real receiver heard, when the port is a LIRC device: where the carrier came from.
    const auto& heard = infrared_port.last_heard();
    const std::string heard_text =
        !infrared_port.active() ? std::string() : heard ? heard->text : infrared_port.last_event();
    if (code != kIrOk)
        return console.fail("learning failed with code " + std::to_string(code) + ": " + failure(code) +
                            (heard_text.empty() ? "" : " (" + heard_text + ")"));
    if (count == 0 || carrier_us == 0) return console.fail("nothing was learned");

    if (format) {
        InfraredSignal signal;
        signal.intro.assign(durations.get(), durations.get() + repeat_start);
        signal.repeat.assign(durations.get() + repeat_start, durations.get() + count);
        signal.carrier_hz = (1'000'000u + carrier_us / 2u) / carrier_us;
        signal.duty_percent = 33;
        std::vector<std::string> notes;
        console.out() << SignalFile::Write(signal, *format, name_, notes);
        for (const std::string& note : notes) console.note(note);
        if (!heard_text.empty()) console.note(heard_text);
        return ExitCode::ok;
    }
    console.out() << "code " << code << "\ncarrier " << carrier_us << " us (" << (1'000'000u + carrier_us / 2u) / carrier_us
                  << " Hz)\n";
    if (!heard_text.empty()) console.out() << "heard " << heard_text << '\n';
    console.out() << "count " << count << "\nrepeat start " << repeat_start << "\ndurations";
    for (int i = 0; i < count; ++i) console.out() << (i % kDurationsPerRow == 0 ? "\n " : "") << ' ' << durations[i];
    console.out() << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
