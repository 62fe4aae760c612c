#include "alarms/ProgramSettings.h"

#include <vector>

#include "ce/Registry.h"

namespace {

// Reads `name` into `buffer` (at most `bytes`), as the type `wanted`; false otherwise.
bool read_value(const char16_t* name, ce::DWORD wanted, void* buffer, ce::DWORD& bytes) {
    ce::HKEY key = nullptr;
    if (ce::RegOpenKeyExW(ce::HKEY_LOCAL_MACHINE, ProgramSettings::kKeyPath, &key) != ce::ERROR_SUCCESS) return false;
    ce::DWORD type = ce::REG_NONE;
    const bool read =
        ce::RegQueryValueExW(key, name, &type, static_cast<ce::BYTE*>(buffer), &bytes) == ce::ERROR_SUCCESS &&
        type == wanted;
    ce::RegCloseKey(key);
    return read;
}

}  // namespace

std::optional<ce::DWORD> ProgramSettings::Dword(const char16_t* name) {
    ce::DWORD value = 0;
    ce::DWORD bytes = sizeof value;
    if (!read_value(name, ce::REG_DWORD, &value, bytes) || bytes != sizeof value) return std::nullopt;
    return value;
}

std::u16string ProgramSettings::Text(const char16_t* name, ce::DWORD max_bytes) {
    // One character more than asked for, so that a value of exactly `max_bytes` ends.
    std::vector<char16_t> text(max_bytes / sizeof(char16_t) + 1, u'\0');
    ce::DWORD bytes = max_bytes;
    if (!read_value(name, ce::REG_SZ, text.data(), bytes)) return {};
    return std::u16string(text.data());
}
