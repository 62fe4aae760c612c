#include "host/fs/ShareGuard.h"

#include "host/Device.h"
#include "host/LockFile.h"

namespace host {

namespace {

std::recursive_mutex g_guard_lock;
// Guarded by g_guard_lock: how deep the owning thread is nested, and the locked file.
int g_depth = 0;
LockFile g_guard_file;

}  // namespace

ShareGuard::ShareGuard() : thread_lock_(g_guard_lock) {
    if (g_depth++ > 0) return;
    // Without the file the handheld is unusable anyway; the calls fail on their own.
    g_guard_file = LockFile(Device::current().run_dir() / "share" / "guard");
}

ShareGuard::~ShareGuard() {
    if (--g_depth > 0) return;
    g_guard_file = LockFile();
}

}  // namespace host
