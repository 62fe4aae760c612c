#pragma once
// What the codebase layer writes into the database header, and how it reads the name.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "recordfile/PdbLayout.h"

namespace platform::card {

constexpr std::uint32_t four_char_code(const char (&code)[5]) {
    return (std::uint32_t{static_cast<unsigned char>(code[0])} << 24) |
           (std::uint32_t{static_cast<unsigned char>(code[1])} << 16) |
           (std::uint32_t{static_cast<unsigned char>(code[2])} << 8) | static_cast<unsigned char>(code[3]);
}

inline constexpr std::uint32_t kCreator = four_char_code("xIrv");
inline constexpr std::uint32_t kCodebaseType = four_char_code("Alr1");
inline constexpr std::uint32_t kTemporaryType = four_char_code("TEMP");
inline constexpr std::uint16_t kCurrentVersion = 100;
// The fields a freshly created file holds before its record count.
inline constexpr std::size_t kCreatedHeaderSize = pdb::kNextListOffset;
// The most characters of a name the 32-byte field holds with its NUL.
inline constexpr std::size_t kMaxNameLength = pdb::kNameSize - 1;

// A database name as it is stored: up to its first NUL, at most 31 characters. Every
// name handed to the layer goes through this, so lookups agree with what files hold.
std::string stored_name(std::string_view name);

// Turns the spaces that end a space-padded name field into NULs (positions 30 down
// to 0, stopping at the first other byte), then reads the name. False when the 32
// bytes hold no NUL, which no well-formed database has.
bool read_name_field(std::uint8_t* field, std::string& name);

}  // namespace platform::card
