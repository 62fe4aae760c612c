#include "host/notify/ServiceLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "ce/Time.h"

namespace host {

void ServiceLog::line(std::string_view text) {
    ce::SYSTEMTIME now;
    ce::GetLocalTime(&now);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", unsigned{now.wYear},
                  unsigned{now.wMonth}, unsigned{now.wDay}, unsigned{now.wHour}, unsigned{now.wMinute},
                  unsigned{now.wSecond}, unsigned{now.wMilliseconds});
    std::string entry = stamp;
    entry.append(text);
    entry += '\n';
    const int fd = open(file_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return;  // a log that cannot be written must not stop the service
    [[maybe_unused]] const ssize_t written = write(fd, entry.data(), entry.size());
    close(fd);
}

}  // namespace host
