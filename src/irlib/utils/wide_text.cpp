#include "irlib/utils/wide_text.h"

#include <cstring>

namespace utils {

void pack_wide_text(const char16_t* wide, char* packed, std::size_t capacity) {
    if (!wide || wide[0] == 0 || !packed || capacity == 0) return;
    // Whole code units only, so the last one written may end at capacity - 1, the NUL's place.
    const std::size_t limit = capacity >= 2 ? capacity - 2 : 0;
    std::size_t written = 0;
    for (const char16_t* unit = wide; *unit && written < limit; ++unit) {
        const auto low = static_cast<std::uint8_t>(*unit & 0xFF);
        if (low == 0) break;
        const auto high = static_cast<std::uint8_t>(*unit >> 8);
        packed[written++] = static_cast<char>(low);
        packed[written++] = static_cast<char>(high == 0 ? packed_zero_high_byte : high);
    }
    packed[written] = '\0';
}

void unpack_wide_text(const char* packed, std::size_t packed_size, char16_t* wide, std::size_t capacity) {
    if (!packed || !wide || capacity == 0) return;
    const std::size_t length = strnlen(packed, packed_size);
    if (length < 2) return;
    std::size_t written = 0;
    for (std::size_t i = 0; i < length && written < capacity - 1; i += 2) {
        const auto low = static_cast<std::uint8_t>(packed[i]);
        std::uint8_t high = i + 1 < length ? static_cast<std::uint8_t>(packed[i + 1]) : 0;
        if (high == packed_zero_high_byte) high = 0;
        wide[written++] = static_cast<char16_t>(low | (high << 8));
    }
    wide[written] = u'\0';
}

}  // namespace utils
