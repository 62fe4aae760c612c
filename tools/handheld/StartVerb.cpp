#include "StartVerb.h"

#include "HandheldPrivacy.h"
#include "ToolFiles.h"
#include "host/Device.h"
#include "host/notify/ServiceLink.h"

namespace handheld {

void StartVerb::declare(CLI::App& command) {
    describe(
        "Starts the handheld's notification service unless it runs already. It starts each program\n"
        "registered for a time when the handheld's clock reaches it (also one whose time passed while\n"
        "no service ran), and the programs registered for the time-change and time-zone-change events\n"
        "when `handheld time set` and `handheld tz set` raise them. What it started is in\n"
        "log/notify.log. `handheld stop` stops it.");
    command.footer(
        "example:\n"
        "  handheld start\n"
        "  notification service running, process 4711");
}

ExitCode StartVerb::run(Console& console) {
    HandheldPrivacy::tighten(console);
    const host::ServiceLink link(host::Device::current());
    std::string failure;
    if (!link.start(ToolFiles::of_this_tool().notify_service, &failure)) return console.fail(failure);
    const auto process = link.running();
    if (!process) return console.fail("the notification service ended at once (see log/notify.log)");
    console.out() << "notification service running, process " << *process << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
