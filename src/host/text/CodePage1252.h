#pragma once
// The device's ANSI code page, Windows-1252, through iconv. Each byte is one UTF-16
// unit, including the five bytes 1252 leaves undefined (0x81 0x8D 0x8F 0x90 0x9D), which
// Windows passes through as U+0081 ... U+009D and which iconv refuses.

#include <optional>
#include <string>
#include <string_view>

namespace host {

class CodePage1252 {
public:
    // Nothing only when the host's iconv lacks the code page.
    static std::optional<std::u16string> to_wide(std::string_view text);
    // Characters without a 1252 byte (a surrogate pair counting as one character) become
    // `replacement`, and *replaced says whether that happened.
    static std::optional<std::string> to_ansi(std::u16string_view wide, char replacement, bool* replaced);

private:
    static bool is_undefined_byte(unsigned value);
};

}  // namespace host
