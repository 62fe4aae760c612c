#pragma once
// LircCalls on the host's kernel: the real open, ioctl, read, write and poll.

#include "host/hw/lirc/LircCalls.h"

namespace host::hw {

class SystemLircCalls : public LircCalls {
public:
    int open(const std::string& path) override;
    void close(int fd) override;
    int ioctl(int fd, unsigned long request, std::uint32_t* value) override;
    long read(int fd, void* buffer, std::size_t bytes) override;
    long write(int fd, const void* buffer, std::size_t bytes) override;
    int poll(int fd, int timeout_ms) override;
    std::int64_t now_ns() override;
    void sleep_ns(std::int64_t ns) override;
};

}  // namespace host::hw
