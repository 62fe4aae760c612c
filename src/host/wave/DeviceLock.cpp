#include "host/wave/DeviceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

#include "host/Device.h"

namespace host {

std::unique_ptr<DeviceLock> DeviceLock::try_acquire(unsigned device, bool* busy) {
    *busy = false;
    const auto folder = Device::current().run_dir() / "wave";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const auto path = folder / ("out" + std::to_string(device) + ".lock");
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    // Every open has its own open file description, so a second opener in this same
    // process is refused just like one in another process.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        *busy = errno == EWOULDBLOCK;
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<DeviceLock>(new DeviceLock(fd));
}

DeviceLock::~DeviceLock() { close(fd_); }

}  // namespace host
