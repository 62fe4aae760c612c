#include "IrSendCommand.h"

#include <charconv>
#include <chrono>
#include <fstream>
#include <sstream>

#include "ArgumentParser.h"
#include "IrDriverInstance.h"
#include "Mode2Signal.h"
#include "host/Device.h"
#include "host/hw/InputState.h"
#include "host/hw/Machine.h"

namespace handheld {

namespace {

std::optional<unsigned long> whole_number(const std::string& text) {
    unsigned long value = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The profile's infrared port (its driver key names IrDA).
std::u16string infrared_port() {
    for (const auto& port : host::hw::Machine::current().profile().ports)
        if (port.key.find(u"IrDA") != std::u16string_view::npos) return std::u16string(port.name);
    return {};
}

std::u16string widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

ExitCode IrSendCommand::run(const std::vector<std::string>& arguments, Console& console) {
    ArgumentParser parser;
    parser.option("--passes").option("--hold").option("--port");
    if (!parser.parse(arguments)) return console.usage(parser.error());
    if (parser.positionals().size() != 1) return console.usage("send takes one mode2 file");
    if (parser.has("--passes") && parser.has("--hold")) return console.usage("--passes or --hold, not both");

    std::uint16_t repeat_count = 1;
    int hold_key = 0;
    unsigned long hold_ms = 0;
    if (const auto passes = parser.value("--passes")) {
        const auto n = whole_number(*passes);
        if (!n || *n < 1 || *n > 65534) return console.usage("--passes takes 1..65534");
        repeat_count = static_cast<std::uint16_t>(*n);
    }
    if (const auto hold = parser.value("--hold")) {
        const auto seconds = whole_number(*hold);
        if (!seconds || *seconds > 3600) return console.usage("--hold takes 0..3600 seconds");
        hold_ms = *seconds * 1000;
        hold_key = kHoldKey;
        repeat_count = 0xFFFF;  // at least one pass, then while the key is down
    }

    std::ifstream file(parser.positionals()[0], std::ios::binary);
    if (!file) return console.fail("cannot read " + parser.positionals()[0]);
    std::ostringstream text;
    text << file.rdbuf();
    std::string error;
    const auto signal = Mode2Signal::parse(text.str(), error);
    if (!signal) return console.fail(parser.positionals()[0] + ": " + error);
    if (signal->durations.size() > CIrDrvr::kMaxEntries)
        return console.fail("the signal has " + std::to_string(signal->durations.size()) + " entries; the driver keeps " +
                            std::to_string(CIrDrvr::kMaxEntries));

    const std::u16string port = parser.has("--port") ? widen(*parser.value("--port")) : infrared_port();
    CIrDrvr* driver = GetIrDriver();
    if (driver == nullptr) return console.fail("the handheld's processor has no infrared driver");
    driver->SetPortName(port.c_str());
    // Every pass sends the whole file: it is one frame.
    int result = driver->SetSignal(signal->durations.data(), static_cast<std::uint16_t>(signal->durations.size()), 0,
                                   signal->carrier_us);
    if (result == kIrOk) {
        if (hold_key != 0) host::hw::InputState(host::Device::current().run_dir()).hold(hold_key, std::chrono::milliseconds(hold_ms));
        result = driver->Send(repeat_count, hold_key);
    }
    ReleaseIrDriver();
    if (result != kIrOk) return console.fail("the driver refused the signal (code " + std::to_string(result) + ")");
    console.out() << "sent; see handheld ir log --last\n";
    return ExitCode::ok;
}

}  // namespace handheld
