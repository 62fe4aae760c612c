// Started by the notification service in the delay benchmark: its first act is to note
// the host's clock, appending "DEVICE-PATH NANOSECONDS" to log/stamps.log.
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const char* device = std::getenv("KIVO_DEVICE");
    const char* program = std::getenv("KIVO_PROGRAM_PATH");
    if (device == nullptr || program == nullptr) return 1;
    char line[512];
    const int length = std::snprintf(line, sizeof line, "%s %lld\n", program,
                                     static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec);
    const int fd = open((std::string(device) + "/log/stamps.log").c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
    if (fd < 0 || length <= 0) return 1;
    const bool written = write(fd, line, static_cast<std::size_t>(length)) == length;
    close(fd);
    return written ? 0 : 1;
}
