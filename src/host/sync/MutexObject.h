#pragma once
// One mutex as this process sees it: its memory and its ownership. All handles this
// process has to the same named mutex share one object, so that ownership taken through
// one handle can be given back through another, as on the device.

#include <memory>

#include "host/sync/MutexMapping.h"
#include "host/sync/RobustMutex.h"

namespace host {

class MutexObject {
public:
    MutexObject(std::unique_ptr<MutexMapping> mapping, bool owned)
        : mapping_(std::move(mapping)), mutex_(mapping_->mutex(), mapping_->owner(), owned) {}

    RobustMutex& mutex() { return mutex_; }

    // Handles of this process; MutexTable counts them under its lock.
    int handles = 0;

private:
    std::unique_ptr<MutexMapping> mapping_;
    RobustMutex mutex_;
};

}  // namespace host
