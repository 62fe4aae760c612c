#include "host/fs/ShareGuard.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "host/Device.h"

namespace host {

namespace {

std::recursive_mutex g_guard_lock;
// Guarded by g_guard_lock: how deep the owning thread is nested, and the flocked file.
int g_depth = 0;
int g_guard_fd = -1;

int open_guard_file() {
    const auto dir = Device::current().run_dir() / "share";
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    return open((dir / "guard").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
}

}  // namespace

ShareGuard::ShareGuard() : thread_lock_(g_guard_lock) {
    if (g_depth++ > 0) return;
    g_guard_fd = open_guard_file();
    // Without the file the handheld is unusable anyway; the calls fail on their own.
    while (g_guard_fd >= 0 && flock(g_guard_fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

ShareGuard::~ShareGuard() {
    if (--g_depth > 0) return;
    if (g_guard_fd >= 0) close(g_guard_fd);  // closing drops the flock
    g_guard_fd = -1;
}

}  // namespace host
