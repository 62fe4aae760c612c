#include "host/registry/RegistryName.h"

#include "ce/Text.h"
#include "host/fs/CaseFold.h"

namespace host::registry_name {

namespace {

// The length of a caller's string, looking no further than `limit` characters past it.
std::optional<std::size_t> bounded_length(ce::LPCWSTR text, std::size_t limit) {
    for (std::size_t length = 0; length <= limit; ++length)
        if (text[length] == u'\0') return length;
    return std::nullopt;
}

}  // namespace

std::string folded(std::u16string_view name) {
    return ce::utf8_from_utf16(CaseFold::fold(name));
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
