#include "host/DiskReserve.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstdio>

namespace host {

bool DiskReserve::kept(const std::filesystem::path& reserve) {
    struct stat status;
    return stat(reserve.c_str(), &status) == 0 && status.st_blocks * 512 >= static_cast<off_t>(kBytes);
}

bool DiskReserve::keep(const std::filesystem::path& reserve) {
    if (kept(reserve)) return true;
    // Made again only where as much again stays free: a reserve that took the last free
    // blocks would be given back by the very next write, and again made, and so on.
    struct statvfs disk;
    if (statvfs(reserve.parent_path().c_str(), &disk) != 0 ||
        static_cast<unsigned long long>(disk.f_bavail) * disk.f_frsize < 2ULL * kBytes)
        return false;
    // Made under another name and renamed whole: a reserve cut short by a full disk or a
    // killed process is never taken for one.
    const std::filesystem::path making = reserve.string() + ".new";
    const int fd = open(making.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    // Blocks taken, not a length: a file with holes would give nothing back.
    const bool made = posix_fallocate(fd, 0, static_cast<off_t>(kBytes)) == 0;
    close(fd);
    if (made && std::rename(making.c_str(), reserve.c_str()) == 0) return true;
    unlink(making.c_str());
    return false;
}

bool DiskReserve::release(const std::filesystem::path& reserve) { return unlink(reserve.c_str()) == 0; }

}  // namespace host
