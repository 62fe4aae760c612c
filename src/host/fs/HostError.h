#pragma once
// The device's error code for what a Linux call reported in errno, and the same in words
// for a person (the trouble a handheld's disk can have said plainly).

#include <string>

#include "ce/Types.h"

namespace host {

class HostError {
public:
    // `otherwise` is the code for failures the device has no closer word for.
    static ce::DWORD from_errno(int error, ce::DWORD otherwise);
    // "no space left on the device holding the handheld", ...; strerror's words for the rest.
    static std::string in_words(int error);
};

}  // namespace host
