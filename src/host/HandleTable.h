#pragma once
// Kernel objects behind ce::HANDLE. Handles are checked against a table of live objects
// so that a stale or made-up handle fails with ERROR_INVALID_HANDLE instead of crashing.

#include "ce/Types.h"

namespace ce {

class KernelObject {
public:
    KernelObject() = default;
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;
    virtual ~KernelObject() = default;
};

}  // namespace ce

namespace host {

// Takes ownership and returns the handle to hand out.
ce::HANDLE register_handle(ce::KernelObject* object);

// The object of a live handle if it is of kind T, else null with ERROR_INVALID_HANDLE.
// Valid until the handle is closed; callers must not close a handle another thread uses.
ce::KernelObject* lookup_handle(ce::HANDLE handle);
template <class T>
T* handle_as(ce::HANDLE handle) {
    auto* object = dynamic_cast<T*>(lookup_handle(handle));
    if (object == nullptr) ce::SetLastError(ce::ERROR_INVALID_HANDLE);
    return object;
}

}  // namespace host
