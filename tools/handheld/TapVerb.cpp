#include "TapVerb.h"

#include "Arguments.h"
#include "UiRequest.h"
#include "host/Device.h"
#include "host/hw/Stylus.h"
#include "host/screen/ScreenSettings.h"

namespace handheld {

namespace {

// Long enough for any program to see the stylus down, short as a real tap.
constexpr std::chrono::milliseconds kTap{60};
constexpr std::uint32_t kLargestCoordinate = 0x7FFF;

}  // namespace

void TapVerb::declare(CLI::App& command) {
    describe(
        "Touches the screen of the window in the handheld's foreground with the stylus at\n"
        "(X, Y), pixels from its top left corner, and lifts it: the control under the point\n"
        "gets the tap as from a person's hand. `handheld ui dump` tells where controls are.\n"
        "A point off the handheld's screen (see `handheld screen`) is refused.");
    add_number(command, "X", x_, 0, kLargestCoordinate, "pixels from the left", "a pixel position")->required();
    add_number(command, "Y", y_, 0, kLargestCoordinate, "pixels from the top", "a pixel position")->required();
    command.footer("example:\n  handheld tap 120 200");
}

ExitCode TapVerb::press(const std::string& x_text, const std::string& y_text, std::chrono::milliseconds duration,
                        Console& console) {
    const auto x = whole_number(x_text);
    const auto y = whole_number(y_text);
    if (!x || !y || *x > kLargestCoordinate || *y > kLargestCoordinate)
        return console.usage("X and Y are pixels, from 0 to 32767");
    // A point off the screen touches nothing: said, not silently done.
    const auto screen = host::ScreenSettings::read(host::Device::current().database());
    if (*x >= static_cast<std::uint64_t>(screen.width) || *y >= static_cast<std::uint64_t>(screen.height))
        return console.usage("(" + std::to_string(*x) + ", " + std::to_string(*y) + ") is off the screen, which is " +
                             std::to_string(screen.width) + " x " + std::to_string(screen.height) + " pixels: X 0-" +
                             std::to_string(screen.width - 1) + ", Y 0-" + std::to_string(screen.height - 1));
    const auto window = UiRequest::foreground();
    if (!window) return console.fail("no program window is in the foreground");
    host::hw::Stylus stylus(host::Device::current().run_dir());
    if (!stylus.hold(*window, static_cast<int>(*x), static_cast<int>(*y), duration))
        return console.fail("the foreground window is gone");
    return ExitCode::ok;
}

ExitCode TapVerb::run(Console& console) { return press(std::to_string(x_), std::to_string(y_), kTap, console); }

}  // namespace handheld
