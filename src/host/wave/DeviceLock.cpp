#include "host/wave/DeviceLock.h"

#include <string>

#include "host/Device.h"

namespace host {

std::unique_ptr<DeviceLock> DeviceLock::try_acquire(unsigned device, bool* busy) {
    // A second opener in this same process is refused just like one in another process.
    LockFile lock(Device::current().run_dir() / "wave" / ("out" + std::to_string(device) + ".lock"),
                  LockFile::Wait::no);
    *busy = lock.busy();
    if (!lock.locked()) return nullptr;
    return std::unique_ptr<DeviceLock>(new DeviceLock(std::move(lock)));
}

}  // namespace host
