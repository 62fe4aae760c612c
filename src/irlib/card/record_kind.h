#pragma once
// What a codebase record holds, told by its first bytes, and the name it is stored under.
// Record 0 is the application header and is never classified.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace platform::card {

enum class record_kind {
    ignored,        // none of the kinds below
    macro,          // 0x00 0x01, name from offset 2
    signal,         // 0x00 0x02, name from offset 2
    legacy_signal,  // first byte not 0, name from offset 0
};

inline constexpr std::uint8_t kMacroTag = 0x01;
inline constexpr std::uint8_t kSignalTag = 0x02;

record_kind classify_record(std::span<const std::uint8_t> record);
// The NUL-terminated name of a macro or signal record; none for an ignored record and
// for one whose name does not end inside the record.
std::optional<std::string> record_name(std::span<const std::uint8_t> record);

}  // namespace platform::card
