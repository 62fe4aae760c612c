#include "irlib/meta/omemstream.h"

#include <cstring>
#include <new>

namespace meta {

omemstream::omemstream(std::size_t capacity, bool growable)
    : buffer_(new std::uint8_t[capacity == 0 ? 1 : capacity]), capacity_(capacity), growable_(growable) {}

void omemstream::put(std::uint8_t byte) { write(&byte, 1); }

void omemstream::write(const std::uint8_t* bytes, std::size_t count) {
    if (count == 0) return;
    if (!reserve_more(count)) {
        count = capacity_ - used_;
        truncated_ = true;
    }
    if (count) std::memcpy(buffer_.get() + used_, bytes, count);
    used_ += count;
}

bool omemstream::reserve_more(std::size_t count) {
    if (count <= capacity_ - used_) return true;
    if (!growable_) return false;
    std::size_t capacity = capacity_ == 0 ? 1 : capacity_;
    while (count > capacity - used_) {
        if (capacity > SIZE_MAX / 2) throw std::bad_alloc();
        capacity *= 2;
    }
    std::unique_ptr<std::uint8_t[]> grown(new std::uint8_t[capacity]);
    if (used_) std::memcpy(grown.get(), buffer_.get(), used_);
    buffer_ = std::move(grown);
    capacity_ = capacity;
    return true;
}

}  // namespace meta
