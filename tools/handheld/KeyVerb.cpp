#include "KeyVerb.h"

#include <chrono>
#include <thread>

#include "HoldVerb.h"
#include "UiRequest.h"
#include "ce/Input.h"
#include "host/Device.h"
#include "host/hw/InputState.h"

namespace handheld {

namespace {

constexpr int kStylus = 0x01;

}  // namespace

void KeyVerb::declare(CLI::App& command) {
    describe(
        "Presses the key and lets it go, for the window in the handheld's foreground: the\n"
        "control with the focus gets it (RETURN is OK and ESCAPE closes a form).");
    command
        .add_option("NAME", key_name_,
                    "a letter or digit (A, 7: types it), a virtual-key code (0x0D), or one of BACK, TAB,\n"
                    "RETURN, ENTER, ESCAPE, SPACE, LEFT, UP, RIGHT, DOWN")
        ->required()
        ->check([](const std::string& name) {
            const auto key = HoldVerb::key_code(name);
            return key && *key != kStylus ? "" : "unknown key '" + name + "'";
        });
    command.footer("example:\n  handheld key ESCAPE");
}

ExitCode KeyVerb::run(Console& console) {
    const int key = HoldVerb::key_code(key_name_).value_or(0);
    const auto window = UiRequest::foreground();
    if (!window) return console.fail("no program window is in the foreground");
    // Down on the shared key state while the program takes it, as a finger would be.
    host::hw::InputState keys(host::Device::current().run_dir());
    keys.press(key);
    // The key going up may find the window closed by the key going down (ESCAPE on a form).
    const bool sent = ce::PostMessageW(*window, ce::WM_KEYDOWN, static_cast<ce::WPARAM>(key), 0) != ce::FALSE;
    if (sent) ce::PostMessageW(*window, ce::WM_KEYUP, static_cast<ce::WPARAM>(key), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    keys.release(key);
    if (!sent) return console.fail("the foreground window is gone");
    return ExitCode::ok;
}

}  // namespace handheld
