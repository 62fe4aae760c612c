#include "host/sync/MutexName.h"

#include <string>

namespace host {

namespace {

bool kept_as_is(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'-';
}

std::string encoded(std::u16string_view name) {
    std::string text;
    for (const char16_t c : name) {
        if (kept_as_is(c)) {
            text += static_cast<char>(c);
            continue;
        }
        static constexpr char kHex[] = "0123456789ABCDEF";
        text += '%';
        for (int shift = 12; shift >= 0; shift -= 4) text += kHex[(c >> shift) & 0xF];
    }
    return text;
}

}  // namespace

std::filesystem::path MutexName::file(const std::filesystem::path& folder, std::u16string_view name) {
    const std::string text = encoded(name);
    std::filesystem::path path = folder;
    std::size_t start = 0;
    // Every folder component is exactly kComponentBytes long and the file name carries a
    // suffix, so no two names can share a path.
    while (text.size() - start > kComponentBytes) {
        path /= text.substr(start, kComponentBytes);
        start += kComponentBytes;
    }
    return path / (text.substr(start) + ".mutex");
}

}  // namespace host
