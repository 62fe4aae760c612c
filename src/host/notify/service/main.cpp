// The handheld's notification service, one per handheld: started by `handheld start`,
// by the first registration, or with the computer's session by the unit `handheld
// autostart on` writes, which names the handheld's directory on the command line
// (`kivo_notify_service DIR`; without it, $KIVO_DEVICE). Stopped by `handheld stop`.

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "host/Device.h"
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
    host::Device& device = host::Device::current();
    if (!device.ready()) return 1;
    host::ProgramStarter starter;
    host::NotificationService service(device, starter);
    return service.run();
}
