#include "host/fs/ShareGuard.h"

#include <pthread.h>
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

// This process's id, learnt once and again by a forked child as it starts, rather than
// asked of the kernel at every guard.
pid_t g_self = 0;

pid_t self() {
    static std::once_flag learnt;
    std::call_once(learnt, [] {
        g_self = getpid();
        pthread_atfork(nullptr, nullptr, [] { g_self = getpid(); });
    });
    return g_self;
}

// The kept file still stands for the guard: it is this handheld's, this process opened
// it (a forked child shares its parent's flock instead of waiting for it), and nobody
// took it out of run/ since (a new one there would be locked by others instead).
bool relock_kept(const std::filesystem::path& path) {
    if (g_guard.process != self() || g_guard.path != path || !g_guard.file.lock()) return false;
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
    g_guard.process = self();
}

ShareGuard::~ShareGuard() {
    if (--g_depth > 0) return;
    g_guard.file.unlock();
}

}  // namespace host
