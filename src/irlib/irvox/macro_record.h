#pragma once
// A macro as a codebase stores it: the kind 0x00 0x01, the macro's name with its NUL,
// then the element stream of its commands.

#include <cstdint>
#include <span>

namespace irvox {

class macro_record {
public:
    // The element stream of a record; empty when the name does not end inside it.
    static std::span<const std::uint8_t> stream(std::span<const std::uint8_t> record);
};

}  // namespace irvox
