#pragma once
// One typed registry value, read through the registry calls and shown as text:
// strings as UTF-8, DWORDs in decimal and hexadecimal, anything else as bytes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ce/Registry.h"

namespace handheld {

class RegistryValue {
public:
    static RegistryValue string(std::u16string_view text);
    static RegistryValue dword(ce::DWORD number);
    static RegistryValue from_data(ce::DWORD type, std::vector<ce::BYTE> data);

    // ERROR_SUCCESS, or the registry's code (ERROR_FILE_NOT_FOUND for no such value).
    static ce::LONG read(ce::HKEY key, const std::u16string& name, RegistryValue& value);
    ce::LONG write(ce::HKEY key, const std::u16string& name) const;

    ce::DWORD type() const { return type_; }
    // "REG_SZ", "REG_DWORD", "REG_BINARY", "REG_NONE" or "type N".
    std::string type_name() const;
    // "hello", "16 (0x00000010)", "01 ff 20".
    std::string data_text() const;

private:
    ce::DWORD type_ = ce::REG_NONE;
    std::vector<ce::BYTE> data_;
};

}  // namespace handheld
