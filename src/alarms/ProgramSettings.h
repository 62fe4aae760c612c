#pragma once
// The settings both programs keep under HKEY_LOCAL_MACHINE "Software\TessaMedia\KIVO":
// the list's selection, the start-up splash, the infrared port.

#include <optional>
#include <string>

#include "ce/Types.h"

class ProgramSettings {
public:
    static constexpr const char16_t* kKeyPath = u"Software\\TessaMedia\\KIVO";

    // Nothing when the key or the value is missing or not a DWORD.
    static std::optional<ce::DWORD> Dword(const char16_t* name);
    // Empty when the key or the value is missing, not a string, or longer than `max_bytes`.
    static std::u16string Text(const char16_t* name, ce::DWORD max_bytes);
};
