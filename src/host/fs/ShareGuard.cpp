#include "host/fs/ShareGuard.h"

#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>

#include "host/Device.h"
#include "host/sync/MutexMapping.h"

namespace host {

namespace {

// The guard of one handheld as this process mapped it.
struct GuardFile {
    std::filesystem::path run_dir;
    pid_t process = 0;
    std::unique_ptr<MutexMapping> mapping;
};

std::recursive_mutex g_guard_lock;
// Guarded by g_guard_lock: how deep the owning thread is nested, the guard, and whether
// this thread locked it.
int g_depth = 0;
GuardFile g_guard;
bool g_locked = false;

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

bool lock(MutexMapping& mapping) {
    const int result = pthread_mutex_lock(mapping.mutex());
    // A process that ended inside a guard left nothing half done that the next one
    // could trip on: the checks and changes it guards are each one call.
    if (result == EOWNERDEAD) return pthread_mutex_consistent(mapping.mutex()) == 0;
    return result == 0;
}

// The kept guard still stands for the handheld's: it is this handheld's, this process
// mapped it, and nobody took its file out of run/ since (a new one there would be locked
// by others instead).
bool relock_kept(const std::filesystem::path& run_dir) {
    if (g_guard.process != self() || !g_guard.mapping || g_guard.run_dir != run_dir || !lock(*g_guard.mapping))
        return false;
    struct stat status {};
    if (fstat(g_guard.mapping->fd(), &status) == 0 && status.st_nlink > 0) return true;
    pthread_mutex_unlock(g_guard.mapping->mutex());
    return false;
}

}  // namespace

ShareGuard::ShareGuard() : thread_lock_(g_guard_lock) {
    if (g_depth++ > 0) return;
    const auto& run_dir = Device::current().run_dir();
    g_locked = relock_kept(run_dir);
    if (g_locked) return;
    // Without the guard the handheld is unusable anyway; the calls fail on their own.
    bool created = false;
    ce::DWORD error = 0;
    g_guard.mapping =
        MutexMapping::open_shared(run_dir / "share" / "guard", false, Device::current().reserve(), &created, &error);
    g_guard.run_dir = run_dir;
    g_guard.process = self();
    g_locked = g_guard.mapping && lock(*g_guard.mapping);
}

ShareGuard::~ShareGuard() {
    if (--g_depth > 0) return;
    if (g_locked) pthread_mutex_unlock(g_guard.mapping->mutex());
    g_locked = false;
}

}  // namespace host
