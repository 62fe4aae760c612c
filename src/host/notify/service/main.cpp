// The handheld's notification service, one per handheld: started by `handheld start`,
// by the first registration, or with the computer's session by the unit `handheld
// autostart on` writes, which names the handheld's directory on the command line
// (`kivo_notify_service DIR`; without it, $KIVO_DEVICE). Stopped by `handheld stop`;
// started again should it crash (ServiceKeeper).

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "host/Device.h"
#include "host/DeviceLog.h"
#include "host/notify/ServiceFiles.h"
#include "host/notify/ServiceKeeper.h"
#include "host/notify/NotificationService.h"
#include "host/notify/ProgramStarter.h"

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
    return host::ServiceKeeper::keep([program = argv[0]](const std::string& why) {
        // A handheld removed since its service crashed gets no new one.
        std::error_code error;
        if (!why.empty() && !std::filesystem::is_regular_file(host::Device::default_root() / "device.db", error))
            return 1;
        host::Device& device = host::Device::current();
        if (!device.refusal().empty()) std::fprintf(stderr, "%s: %s\n", program, device.refusal().c_str());
        if (!device.ready()) return 1;
        if (!why.empty()) host::DeviceLog(host::ServiceFiles::kLogName).write("started again: " + why);
        host::ProgramStarter starter;
        host::NotificationService service(device, starter);
        return service.run();
    });
}
