#include "WakeCapability.h"

#include <unistd.h>

#include "HostCommand.h"

namespace handheld {

ExitCode WakeCapability::grant(const std::filesystem::path& service, Console& console) {
    if (geteuid() != 0)
        return console.fail("setting CAP_WAKE_ALARM on " + service.string() +
                            " takes root: run `sudo handheld install --wake` (with the same --device)");
    if (!HostCommand::installed("setcap"))
        return console.fail("setcap is missing: install the Debian package libcap2-bin");
    if (HostCommand::run({"setcap", "cap_wake_alarm+p", service.string()}) != 0)
        return console.fail("setcap could not set CAP_WAKE_ALARM on " + service.string());
    console.out() << "set CAP_WAKE_ALARM on " << service.string() << '\n'
                  << console.called("a notification service started from now on wakes this computer from suspend for an alarm "
                     "(`handheld stop` and `handheld start` restart a running one; a rebuild of the service drops "
                     "the capability)") << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
