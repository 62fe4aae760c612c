#include "host/fs/ExtendedAttribute.h"

#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <string>

namespace host {

namespace {

// Enough for any DWORD in decimal.
constexpr std::size_t kValueBytes = 12;

// getxattrat(2), which kernels before 6.13 and the C library's headers do not know yet.
constexpr long kGetXattrAt = 464;
struct XattrArgs {
    std::uint64_t value;
    std::uint32_t size;
    std::uint32_t flags;
};
std::atomic<bool> g_no_getxattrat{false};

std::optional<ce::DWORD> parse(const char* text, ssize_t length) {
    if (length <= 0) return std::nullopt;
    ce::DWORD attributes = 0;
    const auto [end, error] = std::from_chars(text, text + length, attributes);
    // A value someone else wrote there is not ours to trust.
    if (error != std::errc{} || end != text + length) return std::nullopt;
    return attributes;
}

}  // namespace

std::optional<ce::DWORD> ExtendedAttribute::read(const std::filesystem::path& host, int fd) {
    return read(host.c_str(), fd);
}

std::optional<ce::DWORD> ExtendedAttribute::read(const char* host, int fd) {
    char text[kValueBytes];
    return parse(text, fd >= 0 ? fgetxattr(fd, kName, text, sizeof text) : getxattr(host, kName, text, sizeof text));
}

std::optional<ce::DWORD> ExtendedAttribute::read_in(int folder_fd, const char* name, const char* host) {
    if (g_no_getxattrat.load(std::memory_order_relaxed)) return read(host);
    char text[kValueBytes];
    XattrArgs args{reinterpret_cast<std::uintptr_t>(text), sizeof text, 0};
    const auto length = static_cast<ssize_t>(syscall(kGetXattrAt, folder_fd, name, 0, kName, &args, sizeof args));
    if (length < 0 && errno == ENOSYS) {
        g_no_getxattrat.store(true, std::memory_order_relaxed);
        return read(host);
    }
    return parse(text, length);
}

bool ExtendedAttribute::write(const std::filesystem::path& host, ce::DWORD attributes, int fd) {
    const std::string text = std::to_string(attributes);
    const int result = fd >= 0 ? fsetxattr(fd, kName, text.data(), text.size(), 0)
                               : setxattr(host.c_str(), kName, text.data(), text.size(), 0);
    return result == 0;
}

}  // namespace host
