#include "host/sync/MutexMapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host/DiskReserve.h"
#include "host/LockFile.h"
#include "host/fs/HostError.h"
#include "host/sync/RobustMutex.h"

namespace host {

namespace {

// A lock over the whole file; OFD locks belong to the open file, not to the process,
// so every handle's file keeps its own and they go away when the file is closed (or
// its process dies).
bool ofd_lock(int fd, short type, int command, struct flock* lock) {
    *lock = {};
    lock->l_type = type;
    lock->l_whence = SEEK_SET;
    return fcntl(fd, command, lock) == 0;
}

void* map(int fd, std::size_t bytes) {
    const int flags = fd < 0 ? MAP_PRIVATE | MAP_ANONYMOUS : MAP_SHARED;
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, flags, fd, 0);
    return memory == MAP_FAILED ? nullptr : memory;
}

}  // namespace

bool MutexMapping::others_have_it_open(int fd) {
    struct flock probe;
    // A would-be exclusive lock conflicts with any shared lock another file holds.
    return ofd_lock(fd, F_WRLCK, F_OFD_GETLK, &probe) && probe.l_type != F_UNLCK;
}

bool MutexMapping::prepare(Layout* layout, bool process_shared, bool owned) {
    std::memset(layout, 0, sizeof(Layout));
    if (!RobustMutex::initialise(&layout->mutex, process_shared)) return false;
    if (owned && pthread_mutex_lock(&layout->mutex) != 0) return false;
    layout->layout_bytes = sizeof(Layout);
    layout->magic = kMagic;
    return true;
}

std::unique_ptr<MutexMapping> MutexMapping::create_private(bool owned, ce::DWORD* error) {
    auto* layout = static_cast<Layout*>(map(-1, sizeof(Layout)));
    if (layout == nullptr || !prepare(layout, false, owned)) {
        if (layout != nullptr) munmap(layout, sizeof(Layout));
        *error = ce::ERROR_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    return std::unique_ptr<MutexMapping>(new MutexMapping(-1, layout));
}

std::unique_ptr<MutexMapping> MutexMapping::open_shared(const std::filesystem::path& file, bool owned_if_created,
                                                        const std::filesystem::path& reserve, bool* created,
                                                        ce::DWORD* error) {
    for (bool room_given = false;; room_given = true) {
        LockFile lock(file);
        auto mapping = lock.locked() ? map_locked(lock.fd(), owned_if_created, created, error) : nullptr;
        if (!lock.locked())
            *error = lock.error() == ENOENT ? ce::ERROR_PATH_NOT_FOUND
                                            : HostError::from_errno(lock.error(), ce::ERROR_ACCESS_DENIED);
        // A mapping keeps the file and its OFD lock; without one the file is closed.
        if (mapping != nullptr) lock.release();
        if (mapping != nullptr || room_given || *error != ce::ERROR_DISK_FULL || !DiskReserve::release(reserve))
            return mapping;
    }
}

std::unique_ptr<MutexMapping> MutexMapping::map_locked(int fd, bool owned_if_created, bool* created,
                                                       ce::DWORD* error) {
    *error = ce::ERROR_ACCESS_DENIED;
    const bool in_use = others_have_it_open(fd);
    struct stat status;
    if (fstat(fd, &status) != 0) return nullptr;
    if (in_use && static_cast<std::size_t>(status.st_size) < sizeof(Layout)) {
        *error = ce::ERROR_INVALID_HANDLE;  // not a mutex of ours
        return nullptr;
    }
    // The file's blocks are taken before it is mapped: a file only made long (ftruncate)
    // has none, and on a full disk the first write to the mapping would end the process
    // with SIGBUS instead of failing here with the disk named.
    if (!in_use) {
        if (const int failed = posix_fallocate(fd, 0, sizeof(Layout)); failed != 0) {
            *error = HostError::from_errno(failed, ce::ERROR_ACCESS_DENIED);
            return nullptr;
        }
    }
    auto* layout = static_cast<Layout*>(map(fd, sizeof(Layout)));
    if (layout == nullptr) return nullptr;
    bool usable = in_use ? layout->magic == kMagic && layout->layout_bytes == sizeof(Layout)
                         : prepare(layout, true, owned_if_created);
    struct flock shared;
    if (usable && !ofd_lock(fd, F_RDLCK, F_OFD_SETLK, &shared)) usable = false;
    if (!usable) {
        if (!in_use && owned_if_created) pthread_mutex_unlock(&layout->mutex);
        munmap(layout, sizeof(Layout));
        if (in_use) *error = ce::ERROR_INVALID_HANDLE;
        return nullptr;
    }
    *created = !in_use;
    return std::unique_ptr<MutexMapping>(new MutexMapping(fd, layout));
}

MutexMapping::~MutexMapping() {
    // Unmapped before the file is closed: once the OFD lock is gone another process may
    // initialise the mutex afresh, and nothing here may touch it after that.
    munmap(layout_, sizeof(Layout));
    if (fd_ >= 0) close(fd_);
}

}  // namespace host
