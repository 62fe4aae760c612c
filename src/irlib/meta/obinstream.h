#pragma once
// Where a writer puts the bytes of an element stream.

#include <cstddef>
#include <cstdint>

namespace meta {

class obinstream {
public:
    virtual void put(std::uint8_t byte) = 0;
    virtual void write(const std::uint8_t* bytes, std::size_t count) = 0;
    virtual ~obinstream() = default;
};

}  // namespace meta
