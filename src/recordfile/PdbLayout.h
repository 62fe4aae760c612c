#pragma once
// The Palm database container: a 78-byte header, a list of 8-byte record entries,
// a two-byte gap, then the record data in record order. Integers are big-endian.

#include <cstddef>
#include <cstdint>

namespace pdb {

inline constexpr std::size_t kNameOffset = 0;
inline constexpr std::size_t kNameSize = 32;
inline constexpr std::size_t kAttributesOffset = 32;
inline constexpr std::size_t kVersionOffset = 34;
inline constexpr std::size_t kTypeOffset = 60;
inline constexpr std::size_t kCreatorOffset = 64;
inline constexpr std::size_t kNextListOffset = 72;  // the fields before it are the database's own
inline constexpr std::size_t kRecordCountOffset = 76;
inline constexpr std::size_t kHeaderSize = 78;  // up to the first record entry
inline constexpr std::size_t kEntrySize = 8;
inline constexpr std::size_t kGapSize = 2;
inline constexpr std::size_t kEmptyFileSize = kHeaderSize + kGapSize;

// Record entry attributes.
inline constexpr std::uint8_t kRecordDeleted = 0x80;
inline constexpr std::uint8_t kRecordAdded = 0x40;  // every record this system appends
inline constexpr std::uint8_t kRecordKeptBits = 0x3F;

// Database attributes written by create.
inline constexpr std::uint8_t kCreatedAttributes[2] = {0x03, 0x08};

inline std::uint32_t read_be32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}
inline std::uint16_t read_be16(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }
inline void write_be32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}
inline void write_be16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}

// One record list entry as stored.
struct RecordEntry {
    std::uint32_t offset = 0;
    std::uint8_t attributes = 0;
    std::uint32_t unique_id = 0;  // 24 bits

    bool deleted() const { return (attributes & kRecordDeleted) != 0; }
};

}  // namespace pdb
