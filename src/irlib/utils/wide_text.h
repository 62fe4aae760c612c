#pragma once
// A UTF-16 display name kept in an 8-bit text field: each code unit as its low byte then
// its high byte, a zero high byte stored as 0xEF so that the packed text holds no zero
// byte before its terminating NUL and travels wherever 8-bit text does.

#include <cstddef>
#include <cstdint>

namespace utils {

inline constexpr std::uint8_t packed_zero_high_byte = 0xEF;

// Packs `wide` into `packed` (capacity `capacity` bytes, NUL included). Packing stops at
// the end of the string, at a code unit whose low byte is 0, or once capacity - 2 bytes
// are written. An empty or null string, or a capacity of 0, leaves `packed` untouched.
void pack_wide_text(const char16_t* wide, char* packed, std::size_t capacity);

// Unpacks the NUL-terminated `packed` (read no further than `packed_size` bytes) into
// `wide` (capacity `capacity` code units, NUL included). A final single byte gives a
// character with high byte 0. Text shorter than 2 bytes, or a capacity of 0, leaves
// `wide` untouched.
void unpack_wide_text(const char* packed, std::size_t packed_size, char16_t* wide, std::size_t capacity);

}  // namespace utils
