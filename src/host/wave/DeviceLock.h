#pragma once
// Holds a wave device that only one player of the handheld may have open at a time:
// an exclusive flock on run/wave/out<N>.lock, given back by the kernel however the
// holding process ends.

#include <memory>

#include "host/LockFile.h"

namespace host {

class DeviceLock {
public:
    // Null when another opener (in any process) holds the device or the lock cannot be made.
    static std::unique_ptr<DeviceLock> try_acquire(unsigned device, bool* busy);

private:
    explicit DeviceLock(LockFile lock) : lock_(std::move(lock)) {}
    LockFile lock_;
};

}  // namespace host
