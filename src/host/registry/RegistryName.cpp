#include "host/registry/RegistryName.h"

#include "ce/Text.h"

namespace host::registry_name {

namespace {

// Case pairs of the scripts device names are written in (Latin, Greek, Cyrillic);
// other characters compare exactly.
char16_t fold_char(char16_t c) {
    if (c >= u'A' && c <= u'Z') return c + 0x20;
    if (c < 0x80) return c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if (c == 0x178) return 0xFF;
    const bool even = c % 2 == 0;
    if (((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) && even) return c + 1;
    if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && !even) return c + 1;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

// The length of a caller's string, looking no further than `limit` characters past it.
std::optional<std::size_t> bounded_length(ce::LPCWSTR text, std::size_t limit) {
    for (std::size_t length = 0; length <= limit; ++length)
        if (text[length] == u'\0') return length;
    return std::nullopt;
}

}  // namespace

std::string folded(std::u16string_view name) {
    std::u16string folded_name(name);
    for (auto& c : folded_name) c = fold_char(c);
    return ce::utf8_from_utf16(folded_name);
}

std::optional<std::vector<std::u16string>> split_path(ce::LPCWSTR path) {
    std::vector<std::u16string> components;
    if (path == nullptr) return components;
    // Enough for the deepest path anyone writes, and a bound on what we read.
    constexpr std::size_t kMaxPathChars = 32 * (kMaxKeyNameChars + 1);
    const auto length = bounded_length(path, kMaxPathChars);
    if (!length) return std::nullopt;
    std::u16string_view rest(path, *length);
    while (!rest.empty()) {
        const auto separator = rest.find(u'\\');
        const auto component = rest.substr(0, separator);
        if (component.empty() || component.size() > kMaxKeyNameChars) return std::nullopt;
        components.emplace_back(component);
        if (separator == std::u16string_view::npos) break;
        rest.remove_prefix(separator + 1);
    }
    return components;
}

std::optional<std::u16string> value_name(ce::LPCWSTR name) {
    if (name == nullptr) return std::u16string{};
    const auto length = bounded_length(name, kMaxValueNameChars);
    if (!length) return std::nullopt;
    return std::u16string(name, *length);
}

}  // namespace host::registry_name
