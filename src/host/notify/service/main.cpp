// The handheld's notification service, one per handheld: started by `handheld start`,
// by the first registration, or with the computer's session by the unit `handheld
// autostart on` writes, which names the handheld's directory on the command line
// (`kivo_notify_service DIR`; without it, $KIVO_DEVICE). Stopped by `handheld stop`;
// started again should it crash: by its keeper (ServiceKeeper), or, under a systemd
// unit that says KIVO_SERVICE_KEEPER=systemd, by the unit's Restart= alone (one
// restarter, not two).

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "host/Device.h"
#include "host/DeviceLog.h"
#include "host/notify/ComputerClockSteps.h"
#include "host/notify/ServiceFiles.h"
#include "host/notify/ServiceKeeper.h"
#include "host/notify/NotificationService.h"
#include "host/notify/ProgramStarter.h"

namespace {

// Names the restarter when it is not the keeper.
constexpr const char* kKeeperVariable = "KIVO_SERVICE_KEEPER";

int serve(const std::string& why, host::NotificationService::Keeping keeping) {
    // A handheld removed since its service crashed gets no new one.
    std::error_code error;
    if (!why.empty() && !std::filesystem::is_regular_file(host::Device::default_root() / "device.db", error))
        return 1;
    // Checked at every start: a damaged device.db is kept aside and made anew (said in the log).
    host::Device::select(host::Device::default_root(), host::Device::Opening::checked);
    host::Device& device = host::Device::current();
    if (!device.refusal().empty()) std::fprintf(stderr, "kivo_notify_service: %s\n", device.refusal().c_str());
    if (!device.ready()) {
        host::DeviceLog(host::ServiceFiles::kLogName).write("the notification service cannot start: " + device.failure());
        return 1;
    }
    if (!why.empty()) host::DeviceLog(host::ServiceFiles::kLogName).write("started again: " + why);
    host::ProgramStarter starter;
    host::ComputerClockSteps clock_steps;
    host::NotificationService service(device, starter, clock_steps, keeping);
    return service.run();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: %s [HANDHELD-DIRECTORY]\n", argv[0]);
        return 2;
    }
    if (argc == 2) {
        // Started at log-in for a handheld that may since have been removed: make no new one.
        std::error_code error;
        const auto root = std::filesystem::absolute(argv[1], error);
        if (error || !std::filesystem::is_regular_file(root / "device.db", error)) {
            std::fprintf(stderr, "%s: no handheld at %s\n", argv[0], argv[1]);
            return 1;
        }
        // The programs it starts belong to the same handheld.
        setenv("KIVO_DEVICE", root.c_str(), 1);
    }
    // Read once: the programs the service starts, and services they start, inherit neither.
    const char* keeper_word = getenv(kKeeperVariable);
    const bool under_unit = keeper_word != nullptr && std::string_view(keeper_word) == "systemd";
    const bool successor = getenv(host::NotificationService::kSuccessorVariable) != nullptr;
    unsetenv(kKeeperVariable);
    unsetenv(host::NotificationService::kSuccessorVariable);
    const auto keeper_lock = host::ServiceFiles::of(host::Device::default_root()).keeper();
    if (under_unit) {
        const auto held = host::ServiceKeeper::hold(keeper_lock, host::ServiceKeeper::kUnitKeeper);
        return serve("", {});
    }
    return host::ServiceKeeper::keep(keeper_lock, [successor](const std::string& why, int keeper_fd) {
        return serve(why, {keeper_fd, successor});
    });
}

