#include "RotateVerb.h"

#include "ScreenChange.h"
#include "host/Device.h"

namespace handheld {

void RotateVerb::declare(CLI::App& command) {
    describe(
        "Turns the handheld's screen a quarter: its width and height swap. Running programs\n"
        "lay their windows out for the new shape (portrait, landscape).");
    command.footer("example:\n  handheld rotate && handheld screenshot turned.png");
}

ExitCode RotateVerb::run(Console& console) {
    auto screen = host::ScreenSettings::read(host::Device::current().database());
    std::swap(screen.width, screen.height);
    return change_screen(screen, console);
}

}  // namespace handheld
