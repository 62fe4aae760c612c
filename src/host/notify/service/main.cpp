// The handheld's notification service, one per handheld ($KIVO_DEVICE): started by
// `handheld start` or by the first registration, stopped by `handheld stop`.

#include "host/Device.h"
#include "host/notify/NotificationService.h"
#include "host/notify/ProgramStarter.h"

int main() {
    host::Device& device = host::Device::current();
    if (!device.ready()) return 1;
    host::ProgramStarter starter;
    host::NotificationService service(device, starter);
    return service.run();
}
