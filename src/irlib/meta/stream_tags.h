#pragma once
// The byte values that structure an element stream and tag its values.

#include <cstdint>

namespace meta::tags {

inline constexpr std::uint8_t begin_element = 0x01;
inline constexpr std::uint8_t end_element = 0x02;
inline constexpr std::uint8_t attribute = 0x03;
inline constexpr std::uint8_t end_of_stream = 0xFF;

inline constexpr std::uint8_t none = 0x20;
inline constexpr std::uint8_t u8 = 0x21;
inline constexpr std::uint8_t u16 = 0x22;
inline constexpr std::uint8_t u32 = 0x23;
inline constexpr std::uint8_t boolean_true = 0x24;
inline constexpr std::uint8_t boolean_false = 0x25;
inline constexpr std::uint8_t bytes_short = 0x26;  // 1-byte length
inline constexpr std::uint8_t bytes_long = 0x27;   // 4-byte big-endian length
inline constexpr std::uint8_t text_short = 0x2A;
inline constexpr std::uint8_t text_long = 0x2B;
inline constexpr std::uint8_t text_short_alt = 0x34;  // read like text_short, never written

// Bytes in this range start a content value, known tag or not.
inline constexpr std::uint8_t first_value = 0x20;
inline constexpr std::uint8_t last_value = 0x37;

// The longest payload the 1-byte length forms carry.
inline constexpr std::uint32_t short_length_limit = 254;

}  // namespace meta::tags
