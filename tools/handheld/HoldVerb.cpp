#include "HoldVerb.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdlib>

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

constexpr double kLongestHoldSeconds = 3600;

}  // namespace

std::string_view HoldVerb::help() const {
    return "usage: handheld hold KEY SECONDS\n"
           "\n"
           "Holds KEY down for SECONDS (0 releases it at once, at most 3600). Every process of\n"
           "the handheld sees the key down through GetAsyncKeyState meanwhile; the infrared\n"
           "transmitter's hold mode keeps repeating a signal while its key is held.\n"
           "\n"
           "  KEY      a virtual-key code (1, 0x0D), a letter or digit (A, 7), or one of LBUTTON,\n"
           "           BACK, TAB, RETURN, ENTER, ESCAPE, SPACE, LEFT, UP, RIGHT, DOWN\n"
           "  SECONDS  how long, decimals allowed\n"
           "\n"
           "example:\n"
           "  handheld hold LBUTTON 2.5\n";
}

std::optional<int> HoldVerb::key_code(const std::string& text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (const auto& key : kKeys)
        if (upper == key.name) return key.code;
    if (upper.size() == 1 && std::isalpha(static_cast<unsigned char>(upper[0]))) return upper[0];
    if (upper.empty() || !std::isdigit(static_cast<unsigned char>(upper[0]))) return std::nullopt;
    char* end = nullptr;
    const long code = std::strtol(text.c_str(), &end, 0);
    if (*end != '\0' || code < 1 || code > 255) return std::nullopt;
    return static_cast<int>(code);
}

ExitCode HoldVerb::run(const std::vector<std::string>& arguments, Console& console) {
    if (arguments.size() != 2) return console.usage("needs KEY and SECONDS");
    const auto key = key_code(arguments[0]);
    if (!key) return console.usage("unknown key '" + arguments[0] + "'");
    char* end = nullptr;
    const double seconds = std::strtod(arguments[1].c_str(), &end);
    if (arguments[1].empty() || *end != '\0' || !std::isfinite(seconds) || seconds < 0 || seconds > kLongestHoldSeconds)
        return console.usage("SECONDS must be a number from 0 to 3600");
    host::hw::InputState keys(host::Device::current().run_dir());
    const auto duration = std::chrono::milliseconds(std::llround(seconds * 1000));
    const bool done = duration.count() == 0 ? keys.release(*key) : keys.hold(*key, duration);
    if (!done) return console.fail("cannot write the key state under run/");
    console.out() << "key " << *key << (duration.count() == 0 ? " released" : " held for " + arguments[1] + " s") << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
