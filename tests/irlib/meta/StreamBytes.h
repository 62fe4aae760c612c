#pragma once
// Helpers for tests that compare element streams byte for byte.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "irlib/meta/omemstream.h"

namespace meta::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes bytes_of(const omemstream& out) { return Bytes(out.data(), out.data() + out.size()); }

// Builds a stream from pieces: numbers are bytes, strings their characters (no NUL).
class ByteBuilder {
public:
    ByteBuilder& operator()(std::initializer_list<int> bytes) {
        for (int b : bytes) bytes_.push_back(static_cast<std::uint8_t>(b));
        return *this;
    }
    ByteBuilder& operator()(const std::string& text) {
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        return *this;
    }
    // An inline text: tag 0x2A, length with NUL, the characters and the NUL.
    ByteBuilder& text(const std::string& s) {
        (*this)({0x2A, static_cast<int>(s.size() + 1)})(s)({0});
        return *this;
    }
    const Bytes& bytes() const { return bytes_; }

private:
    Bytes bytes_;
};

}  // namespace meta::testing
