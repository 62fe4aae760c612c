#pragma once
// A kernel object WaitForSingleObject can wait on. Mutexes are the only ones today;
// any other object the handheld offers for waiting derives from this.

#include "host/HandleTable.h"

namespace host {

class Waitable : public ce::KernelObject {
public:
    // WAIT_OBJECT_0, WAIT_ABANDONED, WAIT_TIMEOUT, or WAIT_FAILED with the last error set.
    virtual ce::DWORD wait(ce::DWORD milliseconds) = 0;
};

}  // namespace host
