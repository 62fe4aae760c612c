#include "StopVerb.h"

#include "host/Device.h"
#include "host/notify/ServiceLink.h"

namespace handheld {

void StopVerb::declare(CLI::App& command) {
    describe(
        "Stops the handheld's notification service and waits until it has ended. The registrations\n"
        "stay; a time that passes meanwhile is run once when the service starts again (`handheld\n"
        "start`, or the next registration a program makes).");
    command.footer(
        "example:\n"
        "  handheld stop\n"
        "  notification service stopped");
}

ExitCode StopVerb::run(Console& console) {
    const host::ServiceLink link(host::Device::current());
    if (!link.running()) {
        console.out() << "no notification service was running\n";
        return ExitCode::ok;
    }
    std::string failure;
    if (!link.stop(&failure)) return console.fail(failure);
    console.out() << "notification service stopped\n";
    return ExitCode::ok;
}

}  // namespace handheld
