#pragma once
// What CreateMutexW hands out: one handle to a MutexObject.

#include <memory>

#include "host/sync/MutexObject.h"
#include "host/sync/Waitable.h"

namespace host {

class MutexHandle : public Waitable {
public:
    explicit MutexHandle(std::shared_ptr<MutexObject> object) : object_(std::move(object)) {}
    ~MutexHandle() override;

    ce::DWORD wait(ce::DWORD milliseconds) override { return object_->mutex().wait(milliseconds); }
    bool release() { return object_->mutex().release(); }

private:
    std::shared_ptr<MutexObject> object_;
};

}  // namespace host
