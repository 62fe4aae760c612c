#pragma once
// An output stream into a heap buffer that doubles its capacity when a write does not
// fit. With growing turned off it keeps what fits, drops the rest and remembers that it
// did, so its owner can tell a complete stream from a cut one.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "irlib/meta/obinstream.h"

namespace meta {

class omemstream : public obinstream {
public:
    static constexpr std::size_t initial_capacity = 500;

    explicit omemstream(std::size_t capacity = initial_capacity, bool growable = true);
    omemstream(const omemstream&) = delete;
    omemstream& operator=(const omemstream&) = delete;

    void put(std::uint8_t byte) override;
    void write(const std::uint8_t* bytes, std::size_t count) override;

    const std::uint8_t* data() const { return buffer_.get(); }
    std::size_t size() const { return used_; }
    std::size_t capacity() const { return capacity_; }
    bool growable() const { return growable_; }
    // True once a write did not fit into a stream that cannot grow.
    bool truncated() const { return truncated_; }

private:
    // Makes room for `count` more bytes; false when the stream cannot grow.
    bool reserve_more(std::size_t count);

    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t capacity_;
    std::size_t used_ = 0;
    bool growable_;
    bool truncated_ = false;
};

}  // namespace meta
