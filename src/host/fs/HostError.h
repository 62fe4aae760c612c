#pragma once
// The device's error code for what a Linux call reported in errno.

#include "ce/Types.h"

namespace host {

class HostError {
public:
    // `otherwise` is the code for failures the device has no closer word for.
    static ce::DWORD from_errno(int error, ce::DWORD otherwise);
};

}  // namespace host
