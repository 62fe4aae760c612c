#pragma once
// How a signal's durations are kept on disk: each duration as one or more signed 16-bit
// entries of its sign, the longest 32767 µs, so a 40 ms lead-in survives a 16-bit field.
// Reading adds up runs of entries of one sign (zero counts as a mark).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace platform::card {

inline constexpr std::int16_t kLongestEntry = 32767;
// A part holds 1 to this many entries.
inline constexpr std::size_t kMaxEntries = 255;

// The number of entries a duration takes. In 64 bits: every int32, the most negative
// included, has its count.
std::int64_t entry_count(std::int32_t duration);

// The entries of all durations in order, or false (and `entries` untouched) when there
// would be none or more than kMaxEntries.
bool pack_entries(std::span<const std::int32_t> durations, std::vector<std::int16_t>& entries);

// Durations from big-endian entries: runs of one sign joined into one duration.
std::vector<std::int32_t> merge_entries(std::span<const std::uint8_t> big_endian_entries);

}  // namespace platform::card
