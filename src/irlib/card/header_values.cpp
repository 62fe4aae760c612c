#include "irlib/card/header_values.h"

#include <cstring>

namespace platform::card {

std::string stored_name(std::string_view name) {
    name = name.substr(0, name.find('\0'));
    return std::string(name.substr(0, kMaxNameLength));
}

bool read_name_field(std::uint8_t* field, std::string& name) {
    for (int i = static_cast<int>(kMaxNameLength) - 1; i >= 0 && field[i] == ' '; --i) field[i] = 0;
    const void* end = std::memchr(field, 0, pdb::kNameSize);
    if (end == nullptr) return false;
    name.assign(reinterpret_cast<const char*>(field), static_cast<const std::uint8_t*>(end) - field);
    return true;
}

}  // namespace platform::card
