#include "IrPortCommand.h"

#include "host/Device.h"
#include "host/hw/lirc/LircBridge.h"

namespace handheld {

namespace {

host::hw::InfraredPortSetting stored_setting() {
    return host::hw::InfraredPortSetting::stored(
        host::Device::current().database().setting(host::hw::InfraredPortSetting::kSetting));
}

// Two devices are described on two lines, both under the setting.
std::string indented(std::string text) {
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 3)) text.insert(at + 1, "  ");
    return "  " + text;
}

}  // namespace

void IrPortCommand::declare(CLI::App& command) {
    describe(
        "Shows or sets where the handheld's infrared port ends. sim: every transmission goes\n"
        "to log/ir.log only and learning hears `handheld ir press`. lirc DEVICE: a kernel LIRC\n"
        "device (/dev/lirc0) also sends every transmission, at the carrier and duty cycle the\n"
        "trace shows where the device can set them, and learning hears its receiver; a second\n"
        "device names a receiver of its own (gpio-ir-recv beside gpio-ir-tx). The device is\n"
        "opened and checked first. With a LIRC port the processor keeps to the wall clock\n"
        "(pacing on), so the pauses of a macro are real time. Programs started later use it;\n"
        "every use is a line of log/lirc.log.");
    command.add_option("SETTING", words_, "sim, or lirc DEVICE [RECEIVER]")->expected(0, 3);
    command.footer("examples:\n  handheld ir port lirc /dev/lirc0\n  handheld ir port lirc /dev/lirc0 /dev/lirc1\n"
                   "  handheld ir port sim");
}

std::string IrPortCommand::describe_setting() {
    const auto setting = stored_setting();
    if (!setting.lirc()) return "sim (transmissions go to log/ir.log only; learning hears `handheld ir press`)";
    std::string description;
    const std::string error = host::hw::LircBridge::check(setting, host::hw::LircCalls::system(), description);
    return setting.text() + '\n' + indented(error.empty() ? description : "not usable now: " + error);
}

ExitCode IrPortCommand::run(Console& console) {
    if (words_.empty()) {
        console.out() << "infrared port " << console.called(describe_setting()) << '\n';
        return ExitCode::ok;
    }
    std::string text;
    for (const auto& word : words_) text += (text.empty() ? "" : " ") + word;
    const auto setting = host::hw::InfraredPortSetting::parse(text);
    if (!setting) return console.fail("give sim, or lirc DEVICE [RECEIVER] (device paths without spaces)");
    std::string description;
    if (const std::string error = host::hw::LircBridge::check(*setting, host::hw::LircCalls::system(), description);
        !error.empty())
        return console.fail(error + "; the infrared port stays " + stored_setting().text());
    if (!host::Device::current().database().set_setting(host::hw::InfraredPortSetting::kSetting, setting->text()))
        return console.fail("cannot store the setting");
    console.out() << "infrared port " << setting->text() << '\n';
    if (!description.empty()) console.out() << indented(description) << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
