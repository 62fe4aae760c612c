#include "ScreenVerb.h"

#include "Arguments.h"
#include "ScreenChange.h"
#include "host/Device.h"

namespace handheld {

namespace {

std::string panel_text(unsigned flags) {
    if (flags == 2) return "input panel docked, hidden";
    return (flags & 1) != 0 ? "input panel shown" : "input panel floating, hidden";
}

}  // namespace

void ScreenVerb::declare(CLI::App& command) {
    describe(
        "Without arguments shows the screen: size in pixels as it is turned now, dots per\n"
        "inch and the input panel. With them sets it; running programs lay their windows\n"
        "out on it at once, keeping the fonts and pictures of the dpi they started with.\n"
        "The forms know 240 x 320, 320 x 240, 240 x 240 (any dpi) and 480 x 640,\n"
        "640 x 480 (96 or 192 dpi).");
    constexpr auto largest = static_cast<std::uint32_t>(host::ScreenSettings::kLargest);
    add_number(command, "WIDTH", width_, 1, largest, "pixels across", "a size");
    add_number(command, "HEIGHT", height_, 1, largest, "pixels down", "a size");
    add_number(command, "DPI", dpi_, 1, largest, "dots per inch", "a size");
    command.footer("example:\n  handheld screen 480 640 192");
}

ExitCode ScreenVerb::run(Console& console) {
    auto screen = host::ScreenSettings::read(host::Device::current().database());
    if (!width_) {
        console.out() << "screen " << screen.describe() << ", " << panel_text(screen.input_panel) << '\n';
        return ExitCode::ok;
    }
    if (!height_ || !dpi_) return console.usage("needs WIDTH HEIGHT DPI, or nothing");
    screen.width = static_cast<int>(*width_);
    screen.height = static_cast<int>(*height_);
    screen.dpi = static_cast<int>(*dpi_);
    return change_screen(screen, console);
}

}  // namespace handheld
