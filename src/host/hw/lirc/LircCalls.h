#pragma once
// The calls the infrared port bridge makes on a kernel LIRC device (<linux/lirc.h>):
// open, close, the u32 ioctls, read and write of 32-bit samples, poll for readable
// samples, and the host's monotonic clock and sleep that time the writes and the
// listening. The bridge makes every call through this seam, so a test can stand a
// device in that keeps the kernel's rules without the kernel. Each call returns what the
// system call returns, or -errno when it fails.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace host::hw {

class LircCalls {
public:
    virtual ~LircCalls() = default;

    // An alarm beams on its way to its sound: a device that has not opened within this
    // is -ETIMEDOUT, never a wait.
    static constexpr std::chrono::milliseconds kOpenDeadline{1000};

    virtual int open(const std::string& path) = 0;  // read-write; a descriptor or -errno
    virtual void close(int fd) = 0;
    // LIRC_GET_* fill *value, LIRC_SET_* take it.
    virtual int ioctl(int fd, unsigned long request, std::uint32_t* value) = 0;
    virtual long read(int fd, void* buffer, std::size_t bytes) = 0;
    virtual long write(int fd, const void* buffer, std::size_t bytes) = 0;
    // 1 when samples wait to be read, 0 when `timeout_ms` passed without, or -errno.
    virtual int poll(int fd, int timeout_ms) = 0;
    virtual std::int64_t now_ns() = 0;
    virtual void sleep_ns(std::int64_t ns) = 0;

    // The real calls on the host.
    static LircCalls& system();
};

}  // namespace host::hw
