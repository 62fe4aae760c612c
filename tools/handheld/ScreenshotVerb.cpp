#include "ScreenshotVerb.h"

#include <filesystem>

#include "UiRequest.h"
#include "framework/AutomationProtocol.h"

namespace handheld {

void ScreenshotVerb::declare(CLI::App& command) {
    describe(
        "Saves the window in the handheld's foreground, as its screen shows it now, as PNG.\n"
        "The picture has the screen's true pixels: a 480 x 640 screen gives 480 x 640.");
    command.add_option("FILE", file_, "where to save it (default screenshot.png)");
    command.footer("example:\n  handheld screenshot /tmp/form.png");
}

ExitCode ScreenshotVerb::run(Console& console) {
    const std::filesystem::path target = file_;
    const auto window = UiRequest::foreground();
    if (!window) return console.fail("no program window is in the foreground");
    UiRequest request(*window);
    const UiReply reply = request.ask(framework::automation::WM_UI_SCREENSHOT, 0);
    if (!reply.ok) return console.fail(reply.status);
    std::error_code error;
    std::filesystem::copy_file(request.picture(), target, std::filesystem::copy_options::overwrite_existing, error);
    if (error) return console.fail("cannot write " + target.string() + ": " + error.message());
    console.out() << target.string() << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
