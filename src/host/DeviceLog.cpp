#include "host/DeviceLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "ce/Time.h"
#include "host/Device.h"
#include "host/LockFile.h"
#include "host/clock/LocalTime.h"

namespace host {

std::string DeviceLog::file() const { return (Device::current().log_dir() / (name_ + ".log")).string(); }

namespace {

// Moves the log at `path` (open as `fd`) aside once it is full; true when the log to
// write to is now another file (moved by this writer or another). Under a lock,
// and only while `path` is still that file: two writers that both find it full must not
// move the fresh log over the old one.
bool moved_aside(int fd, const std::string& path) {
    struct stat open_file;
    if (fstat(fd, &open_file) != 0 || open_file.st_size < DeviceLog::kLimitBytes) return false;
    const LockFile lock = LockFile::on(fd);
    if (!lock.locked()) return false;
    struct stat named;
    const bool same = stat(path.c_str(), &named) == 0 && named.st_ino == open_file.st_ino &&
                      named.st_dev == open_file.st_dev;
    const bool moved = same && std::rename(path.c_str(), (path + ".1").c_str()) == 0;
    return moved || !same;
}

}  // namespace

bool DeviceLog::write(std::string_view text) const {
    ce::SYSTEMTIME now;
    ce::GetLocalTime(&now);
    std::string line = time_text(now, true) + " [" + std::to_string(getpid()) + "] ";
    line.append(text);
    line += '\n';
    // One write of a whole line to a file opened for appending keeps lines of
    // concurrent writers apart.
    const std::string path = file();
    int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (moved_aside(fd, path)) {
        close(fd);
        fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) return false;
    }
    const bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    close(fd);
    return written;
}

}  // namespace host
