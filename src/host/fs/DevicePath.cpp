#include "host/fs/DevicePath.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <memory>
#include <system_error>

#include "ce/Text.h"
#include "host/Device.h"
#include "host/fs/CaseFold.h"

namespace host {

namespace {

// The longest name a Linux file system stores, in bytes of UTF-8.
constexpr std::size_t kMaxNameBytes = 255;

bool is_refused_character(char16_t c, DevicePath::Wildcards wildcards) {
    if (c < 0x20) return true;
    switch (c) {
    case u'/': case u'<': case u'>': case u':': case u'"': case u'|': case u'\\':
        return true;
    case u'*': case u'?':
        return wildcards == DevicePath::Wildcards::Refused;
    default:
        return false;
    }
}

// A name with an unpaired surrogate has no UTF-8 spelling on the host.
bool has_unpaired_surrogate(std::u16string_view name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

bool is_link(const std::filesystem::path& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

std::filesystem::path host_name(std::u16string_view name) { return std::filesystem::path(ce::utf8_from_utf16(name)); }

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

DevicePath DevicePath::failed(ce::DWORD error) {
    DevicePath path;
    path.error_ = error;
    return path;
}

DevicePath DevicePath::parse(const char16_t* path, Wildcards wildcards) {
    if (path == nullptr) return failed(ce::ERROR_INVALID_PARAMETER);
    // Never read past the terminator, nor further than the longest path can be.
    std::size_t length = 0;
    while (length < ce::MAX_PATH && path[length] != u'\0') ++length;
    if (length >= ce::MAX_PATH) return failed(ce::ERROR_INVALID_NAME);
    return parse(std::u16string_view(path, length), wildcards);
}

DevicePath DevicePath::parse(std::u16string_view path, Wildcards wildcards) {
    if (path.size() >= ce::MAX_PATH) return failed(ce::ERROR_INVALID_NAME);
    DevicePath result;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos) end = path.size();
        const std::u16string_view component = path.substr(start, end - start);
        if (!component.empty() && component != u".") result.components_.emplace_back(component);
        start = end + 1;
    }
    for (std::size_t i = 0; i < result.components_.size(); ++i) {
        const bool last = i + 1 == result.components_.size();
        const ce::DWORD error = check_name(result.components_[i], last ? wildcards : Wildcards::Refused);
        if (error != ce::ERROR_SUCCESS) return failed(error);
    }
    return result;
}

DevicePath DevicePath::from_host(const std::filesystem::path& host_path) {
    return from_host(host_path, Device::current().fs_dir());
}

DevicePath DevicePath::from_host(const std::filesystem::path& host_path, const std::filesystem::path& fs_root) {
    const auto relative = host_path.lexically_normal().lexically_relative(fs_root.lexically_normal());
    if (relative.empty() || *relative.begin() == "..") return failed(ce::ERROR_INVALID_NAME);
    std::u16string text;
    for (const auto& part : relative) {
        if (part == ".") continue;
        text += u'\\';
        text += ce::utf16_from_utf8(part.string());
    }
    return parse(std::u16string_view(text));
}

ce::DWORD DevicePath::check_name(std::u16string_view name, Wildcards wildcards) {
    if (name.empty() || name == u"." || name == u"..") return ce::ERROR_INVALID_NAME;
    for (const char16_t c : name)
        if (is_refused_character(c, wildcards)) return ce::ERROR_INVALID_NAME;
    if (has_unpaired_surrogate(name) || ce::utf8_from_utf16(name).size() > kMaxNameBytes)
        return ce::ERROR_INVALID_NAME;
    return ce::ERROR_SUCCESS;
}

std::u16string DevicePath::name() const { return components_.empty() ? std::u16string{} : components_.back(); }

DevicePath DevicePath::parent() const {
    DevicePath result = *this;
    if (!result.components_.empty()) result.components_.pop_back();
    return result;
}

DevicePath DevicePath::child(std::u16string_view entry) const {
    if (!valid()) return *this;
    const ce::DWORD error = check_name(entry);
    if (error != ce::ERROR_SUCCESS) return failed(error);
    DevicePath result = *this;
    result.components_.emplace_back(entry);
    if (result.text().size() >= ce::MAX_PATH) return failed(ce::ERROR_INVALID_NAME);
    return result;
}

std::u16string DevicePath::text() const {
    if (components_.empty()) return u"\\";
    std::u16string out;
    for (const auto& component : components_) {
        out += u'\\';
        out += component;
    }
    return out;
}

std::string DevicePath::key() const { return ce::utf8_from_utf16(CaseFold::fold(text())); }

std::optional<std::string> DevicePath::find_entry(const std::filesystem::path& directory, std::u16string_view name) {
    std::string exact = ce::utf8_from_utf16(name);
    struct stat info {};
    if (lstat((directory / exact).c_str(), &info) == 0) return exact;
    std::unique_ptr<DIR, DirCloser> dir(opendir(directory.c_str()));
    if (!dir) return std::nullopt;
    const std::u16string wanted = CaseFold::fold(name);
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view candidate(entry->d_name);
        if (candidate == "." || candidate == "..") continue;
        if (CaseFold::fold(ce::utf16_from_utf8(candidate)) == wanted) return std::string(candidate);
    }
    return std::nullopt;
}

DevicePath::Location DevicePath::locate() const {
    Device& device = Device::current();
    return locate(device.fs_dir(), device.fs_fd(), O_PATH, nullptr);
}

DevicePath::Location DevicePath::locate(const std::filesystem::path& fs_root) const {
    return locate(fs_root, -1, O_PATH, nullptr);
}

DevicePath::Location DevicePath::locate_opening(int open_flags, int* fd) const {
    Device& device = Device::current();
    return locate(device.fs_dir(), device.fs_fd(), open_flags, fd);
}

// The kernel resolves the whole path as spelt, beneath fs/ and through no link: when that
// finds the entry, no folder needs searching and no link needs checking.
std::optional<DevicePath::Location> DevicePath::locate_exact(const std::filesystem::path& fs_root, int root_fd,
                                                             int open_flags, int* fd) const {
    std::string relative;
    for (const auto& component : components_) {
        if (!relative.empty()) relative += '/';
        relative += ce::utf8_from_utf16(component);
    }
    open_how how{};
    how.flags = static_cast<std::uint64_t>(open_flags | O_CLOEXEC);
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    const auto opened = static_cast<int>(syscall(SYS_openat2, root_fd, relative.c_str(), &how, sizeof how));
    // Missing, spelt otherwise, through a link, not openable so, or an older kernel.
    if (opened < 0) return std::nullopt;
    struct statx info {};
    const bool known = statx(opened, "", AT_EMPTY_PATH, STATX_TYPE, &info) == 0;
    if (known && fd != nullptr && S_ISREG(info.stx_mode)) {
        *fd = opened;
    } else {
        close(opened);
        if (!known) return std::nullopt;
    }
    Location location;
    location.host = fs_root / relative;
    location.exists = true;
    location.is_directory = S_ISDIR(info.stx_mode);
    return location;
}

DevicePath::Location DevicePath::locate(const std::filesystem::path& fs_root, int root_fd, int open_flags,
                                        int* fd) const {
    if (fd != nullptr) *fd = -1;
    Location location;
    if (!valid()) {
        location.error = error_;
        return location;
    }
    if (root_fd >= 0 && !components_.empty()) {
        if (auto exact = locate_exact(fs_root, root_fd, open_flags, fd)) return std::move(*exact);
    }
    std::filesystem::path current = fs_root;
    bool through_link = false;
    for (std::size_t i = 0; i + 1 < components_.size(); ++i) {
        const auto entry = find_entry(current, components_[i]);
        struct stat info {};
        if (!entry || stat((current / *entry).c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            location.error = ce::ERROR_PATH_NOT_FOUND;
            return location;
        }
        current /= *entry;
        through_link = through_link || is_link(current);
    }
    if (components_.empty()) {
        location.host = current;
    } else if (const auto entry = find_entry(current, components_.back())) {
        location.host = current / *entry;
        through_link = through_link || is_link(location.host);
    } else {
        location.host = current / host_name(components_.back());
    }
    return finish(std::move(location), fs_root, through_link);
}

DevicePath::Location DevicePath::finish(Location location, const std::filesystem::path& fs_root,
                                        bool through_link) const {
    struct stat info {};
    const bool present = lstat(location.host.c_str(), &info) == 0;
    location.exists = present && stat(location.host.c_str(), &info) == 0;
    location.is_directory = location.exists && S_ISDIR(info.st_mode);
    // A link inside the device may point anywhere on the host: follow it only when it
    // stays inside fs/, and never create through a dangling one.
    const bool dangling = present && !location.exists;
    const auto& checked = location.exists ? location.host : location.host.parent_path();
    if (dangling || (through_link && !inside(checked, fs_root))) {
        location.error = ce::ERROR_ACCESS_DENIED;
        location.exists = false;
    }
    return location;
}

bool DevicePath::inside(const std::filesystem::path& host, const std::filesystem::path& fs_root) {
    std::error_code error;
    const auto real = std::filesystem::canonical(host, error);
    if (error) return false;
    const auto root = std::filesystem::canonical(fs_root, error);
    if (error) return false;
    const auto relative = real.lexically_relative(root);
    return !relative.empty() && *relative.begin() != "..";
}

}  // namespace host
