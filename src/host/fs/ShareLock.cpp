#include "host/fs/ShareLock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "ce/Files.h"
#include "host/Device.h"
#include "host/fs/ShareGuard.h"

namespace host {

namespace {

// One byte per fact about a handle; every holder takes a shared lock on its facts,
// so "is anybody ... ?" is a test for a conflicting exclusive lock.
enum Fact : off_t { kReads = 0, kWrites = 1, kDeniesRead = 2, kDeniesWrite = 3, kOpen = 4, kFactCount = 5 };

bool lock_range(int fd, short type, off_t start, off_t length) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = start;
    range.l_len = length;
    return fcntl(fd, F_OFD_SETLK, &range) == 0;
}

// Whether a handle other than the ones on `fd` holds any of the facts; a failed test
// counts as held, so an error refuses rather than lets a conflict through.
bool held_by_others(int fd, off_t start, off_t length = 1) {
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = start;
    probe.l_len = length;
    if (fcntl(fd, F_OFD_GETLK, &probe) != 0) return true;
    return probe.l_type != F_UNLCK;
}

bool conflicts(int fd, ce::DWORD access, ce::DWORD share) {
    return ((access & ce::GENERIC_READ) != 0 && held_by_others(fd, kDeniesRead)) ||
           ((access & ce::GENERIC_WRITE) != 0 && held_by_others(fd, kDeniesWrite)) ||
           ((share & ce::FILE_SHARE_READ) == 0 && held_by_others(fd, kReads)) ||
           ((share & ce::FILE_SHARE_WRITE) == 0 && held_by_others(fd, kWrites));
}

bool take_facts(int fd, ce::DWORD access, ce::DWORD share) {
    bool ok = lock_range(fd, F_RDLCK, kOpen, 1);
    if ((access & ce::GENERIC_READ) != 0) ok = ok && lock_range(fd, F_RDLCK, kReads, 1);
    if ((access & ce::GENERIC_WRITE) != 0) ok = ok && lock_range(fd, F_RDLCK, kWrites, 1);
    if ((share & ce::FILE_SHARE_READ) == 0) ok = ok && lock_range(fd, F_RDLCK, kDeniesRead, 1);
    if ((share & ce::FILE_SHARE_WRITE) == 0) ok = ok && lock_range(fd, F_RDLCK, kDeniesWrite, 1);
    return ok;
}

// FNV-1a: a stable file name for any path, however long or whatever it contains.
std::uint64_t hash_key(const std::string& key) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const unsigned char c : key) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

}  // namespace

ShareLock::ShareLock(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}

std::filesystem::path ShareLock::lock_path(const std::string& key) {
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.lock", static_cast<unsigned long long>(hash_key(key)));
    return Device::current().run_dir() / "share" / name;
}

std::unique_ptr<ShareLock> ShareLock::acquire(const std::string& key, ce::DWORD access, ce::DWORD share,
                                              ce::DWORD* error) {
    auto path = lock_path(key);
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = ce::ERROR_ACCESS_DENIED;
        return nullptr;
    }
    if (conflicts(fd, access, share) || !take_facts(fd, access, share)) {
        close(fd);
        *error = ce::ERROR_SHARING_VIOLATION;
        return nullptr;
    }
    *error = ce::ERROR_SUCCESS;
    return std::unique_ptr<ShareLock>(new ShareLock(fd, std::move(path)));
}

bool ShareLock::in_use(const std::string& key) {
    const int fd = open(lock_path(key).c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    const bool used = held_by_others(fd, kOpen);
    close(fd);
    return used;
}

ShareLock::~ShareLock() {
    // The last handle of a file takes its lock file away; under the guard nobody can be
    // between opening that file and locking it.
    ShareGuard guard;
    lock_range(fd_, F_UNLCK, 0, kFactCount);
    if (!held_by_others(fd_, 0, kFactCount)) unlink(path_.c_str());
    close(fd_);
}

}  // namespace host
