#include "host/fs/ExtendedAttribute.h"

#include <sys/xattr.h>

#include <charconv>
#include <string>

namespace host {

namespace {

// Enough for any DWORD in decimal.
constexpr std::size_t kValueBytes = 12;

}  // namespace

std::optional<ce::DWORD> ExtendedAttribute::read(const std::filesystem::path& host, int fd) {
    return read(host.c_str(), fd);
}

std::optional<ce::DWORD> ExtendedAttribute::read(const char* host, int fd) {
    char text[kValueBytes];
    const ssize_t length = fd >= 0 ? fgetxattr(fd, kName, text, sizeof text) : getxattr(host, kName, text, sizeof text);
    if (length <= 0) return std::nullopt;
    ce::DWORD attributes = 0;
    const auto [end, error] = std::from_chars(text, text + length, attributes);
    // A value someone else wrote there is not ours to trust.
    if (error != std::errc{} || end != text + length) return std::nullopt;
    return attributes;
}

bool ExtendedAttribute::write(const std::filesystem::path& host, ce::DWORD attributes, int fd) {
    const std::string text = std::to_string(attributes);
    const int result = fd >= 0 ? fsetxattr(fd, kName, text.data(), text.size(), 0)
                               : setxattr(host.c_str(), kName, text.data(), text.size(), 0);
    return result == 0;
}

}  // namespace host
