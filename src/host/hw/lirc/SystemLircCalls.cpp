#include "host/hw/lirc/SystemLircCalls.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "host/BoundedCall.h"

namespace host::hw {

namespace {

long result(long value) { return value < 0 ? -errno : value; }

}  // namespace

LircCalls& LircCalls::system() {
    static SystemLircCalls calls;
    return calls;
}

int SystemLircCalls::open(const std::string& path) {
    const auto opened = BoundedCall::run<int>(
        kOpenDeadline, [path] { return static_cast<int>(result(::open(path.c_str(), O_RDWR | O_CLOEXEC))); },
        [](int late) {
            if (late >= 0) ::close(late);
        });
    return opened.value_or(-ETIMEDOUT);
}

void SystemLircCalls::close(int fd) { ::close(fd); }

int SystemLircCalls::ioctl(int fd, unsigned long request, std::uint32_t* value) {
    return static_cast<int>(result(::ioctl(fd, request, value)));
}

long SystemLircCalls::read(int fd, void* buffer, std::size_t bytes) {
    long got;
    do got = ::read(fd, buffer, bytes);
    while (got < 0 && errno == EINTR);
    return result(got);
}

long SystemLircCalls::write(int fd, const void* buffer, std::size_t bytes) {
    long put;
    do put = ::write(fd, buffer, bytes);
    while (put < 0 && errno == EINTR);
    return result(put);
}

int SystemLircCalls::poll(int fd, int timeout_ms) {
    pollfd watched{fd, POLLIN, 0};
    const int ready = ::poll(&watched, 1, timeout_ms);
    if (ready < 0) return errno == EINTR ? 0 : -errno;
    if (ready > 0 && (watched.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0 && (watched.revents & POLLIN) == 0)
        return -ENODEV;  // the kernel says so of a device that went away
    return ready > 0 ? 1 : 0;
}

std::int64_t SystemLircCalls::now_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SystemLircCalls::sleep_ns(std::int64_t ns) {
    if (ns > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(ns));
}

}  // namespace host::hw
