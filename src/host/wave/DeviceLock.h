#pragma once
// Holds a wave device that only one player of the handheld may have open at a time:
// an exclusive flock on run/wave/out<N>.lock, given back by the kernel however the
// holding process ends.

#include <memory>

namespace host {

class DeviceLock {
public:
    // Null when another opener (in any process) holds the device or the lock cannot be made.
    static std::unique_ptr<DeviceLock> try_acquire(unsigned device, bool* busy);
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    explicit DeviceLock(int fd) : fd_(fd) {}
    int fd_;
};

}  // namespace host
