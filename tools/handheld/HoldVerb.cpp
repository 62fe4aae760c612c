#include "HoldVerb.h"

#include "Arguments.h"
#include "TapVerb.h"
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
        "keeps repeating a signal while its key is held.\n"
        "With X and Y instead of KEY, holds the stylus on the foreground window's screen at\n"
        "(X, Y) for SECONDS and lifts it there; the stylus counts as down (LBUTTON) meanwhile,\n"
        "even while the program is too busy to take its messages.");
    command
        .add_option("ARGUMENTS", words_,
                    "KEY SECONDS, or X Y SECONDS. KEY: a letter or digit (A, 7), a\n"
                    "virtual-key code (0x01, 13), or one of LBUTTON, BACK, TAB, RETURN,\n"
                    "ENTER, ESCAPE, SPACE, LEFT, UP, RIGHT, DOWN. X Y: pixels of the\n"
                    "screen. SECONDS: how long, decimals allowed, at most 3600")
        ->required()
        ->expected(2, 3);
    command.footer("examples:\n  handheld hold LBUTTON 2.5\n  handheld hold 120 200 1");
}

std::optional<int> HoldVerb::key_code(const std::string& text) {
    for (const auto& key : kKeys)
        if (same_word(text, key.name)) return key.code;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        if (same_word(text, std::string(1, letter))) return letter;
    // A single digit is the digit's key, as a single letter is the letter's; codes are
    // written with two digits or more (0x37, 13).
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') return text[0];
    const auto code = whole_number(text);
    if (!code || *code < 1 || *code > 255) return std::nullopt;
    return static_cast<int>(*code);
}

ExitCode HoldVerb::run(Console& console) {
    const auto duration = seconds(words_.back());
    if (!duration || *duration > std::chrono::seconds(kLongestHoldSeconds))
        return console.usage("SECONDS must be a number from 0 to 3600");
    if (words_.size() == 3) return TapVerb::press(words_[0], words_[1], *duration, console);
    const auto key = key_code(words_[0]);
    if (!key) return console.usage("unknown key '" + words_[0] + "'");
    host::hw::InputState keys(host::Device::current().run_dir());
    const bool done = duration->count() == 0 ? keys.release(*key) : keys.hold(*key, *duration);
    if (!done) return console.fail("cannot write the key state under run/");
    console.out() << "key " << *key;
    if (duration->count() == 0)
        console.out() << " released\n";
    else
        console.out() << " held for " << static_cast<double>(duration->count()) / 1000 << " s\n";
    return ExitCode::ok;
}

}  // namespace handheld
