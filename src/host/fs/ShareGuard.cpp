#include "host/fs/ShareGuard.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "host/Device.h"
#include "host/LockFile.h"

namespace host {

namespace {

// The guard file of one handheld as this process opened it.
struct GuardFile {
    std::filesystem::path path;
    pid_t process = 0;
    LockFile file;
};

std::recursive_mutex g_guard_lock;
// Guarded by g_guard_lock: how deep the owning thread is nested, and the guard file.
int g_depth = 0;
GuardFile g_guard;

// The kept file still stands for the guard: it is this handheld's, this process opened
// it (a forked child shares its parent's flock instead of waiting for it), and nobody
// took it out of run/ since (a new one there would be locked by others instead).
bool relock_kept(const std::filesystem::path& path) {
    if (g_guard.process != getpid() || g_guard.path != path || !g_guard.file.lock()) return false;
    struct stat status {};
    if (fstat(g_guard.file.fd(), &status) == 0 && status.st_nlink > 0) return true;
    g_guard.file.unlock();
    return false;
}

}  // namespace

ShareGuard::ShareGuard() : thread_lock_(g_guard_lock) {
    if (g_depth++ > 0) return;
    const auto path = Device::current().run_dir() / "share" / "guard";
    if (relock_kept(path)) return;
    // Without the file the handheld is unusable anyway; the calls fail on their own.
    g_guard.file = LockFile(path);
    g_guard.path = path;
    g_guard.process = getpid();
}

ShareGuard::~ShareGuard() {
    if (--g_depth > 0) return;
    g_guard.file.unlock();
}

}  // namespace host
