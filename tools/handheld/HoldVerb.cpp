#include "HoldVerb.h"

#include "Arguments.h"
#include "host/Device.h"
#include "host/hw/InputState.h"

namespace handheld {

namespace {

struct KeyName {
    const char* name;
    int code;
};

constexpr KeyName kKeys[] = {{"LBUTTON", 0x01}, {"BACK", 0x08},  {"TAB", 0x09},   {"RETURN", 0x0D},
                             {"ENTER", 0x0D},   {"ESCAPE", 0x1B}, {"SPACE", 0x20}, {"LEFT", 0x25},
                             {"UP", 0x26},      {"RIGHT", 0x27},  {"DOWN", 0x28}};

constexpr unsigned kLongestHoldSeconds = 3600;

}  // namespace

void HoldVerb::declare(CLI::App& command) {
    describe(
        "Holds KEY down for SECONDS (0 releases it at once). Every process of the handheld sees\n"
        "the key down through GetAsyncKeyState meanwhile; the infrared transmitter's hold mode\n"
        "keeps repeating a signal while its key is held.");
    command
        .add_option("KEY", key_name_,
                    "a virtual-key code (1, 0x0D), a letter or digit (A, 7), or one of LBUTTON,\n"
                    "BACK, TAB, RETURN, ENTER, ESCAPE, SPACE, LEFT, UP, RIGHT, DOWN")
        ->required()
        ->check([](const std::string& name) { return key_code(name) ? "" : "unknown key '" + name + "'"; });
    add_seconds(command, "SECONDS", duration_, kLongestHoldSeconds, "how long, 0 to 3600, decimals allowed")->required();
    command.footer("example:\n  handheld hold LBUTTON 2.5");
}

std::optional<int> HoldVerb::key_code(const std::string& text) {
    for (const auto& key : kKeys)
        if (same_word(text, key.name)) return key.code;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        if (same_word(text, std::string(1, letter))) return letter;
    const auto code = whole_number(text);
    if (!code || *code < 1 || *code > 255) return std::nullopt;
    return static_cast<int>(*code);
}

ExitCode HoldVerb::run(Console& console) {
    const int key = key_code(key_name_).value_or(0);
    host::hw::InputState keys(host::Device::current().run_dir());
    const bool done = duration_.count() == 0 ? keys.release(key) : keys.hold(key, duration_);
    if (!done) return console.fail("cannot write the key state under run/");
    console.out() << "key " << key;
    if (duration_.count() == 0)
        console.out() << " released\n";
    else
        console.out() << " held for " << static_cast<double>(duration_.count()) / 1000 << " s\n";
    return ExitCode::ok;
}

}  // namespace handheld
