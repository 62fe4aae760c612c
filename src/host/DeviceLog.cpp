#include "host/DeviceLog.h"

#include <fcntl.h>
#include <unistd.h>

#include "ce/Time.h"
#include "host/Device.h"
#include "host/clock/LocalTime.h"

namespace host {

std::string DeviceLog::file() const { return (Device::current().log_dir() / (name_ + ".log")).string(); }

bool DeviceLog::write(std::string_view text) const {
    ce::SYSTEMTIME now;
    ce::GetLocalTime(&now);
    std::string line = time_text(now, true) + " [" + std::to_string(getpid()) + "] ";
    line.append(text);
    line += '\n';
    // One write of a whole line to a file opened for appending keeps lines of
    // concurrent writers apart.
    const int fd = open(file().c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    close(fd);
    return written;
}

}  // namespace host
