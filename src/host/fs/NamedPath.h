#pragma once
// A device path as a call names it: checked, and looked up in the current handheld's fs/
// folder. Calls that check and then change the file system construct it under a
// ShareGuard, so the lookup stays true until they are done.

#include <filesystem>
#include <optional>
#include <string>

#include "ce/Types.h"
#include "host/fs/DevicePath.h"

namespace host {

class NamedPath {
public:
    explicit NamedPath(const char16_t* text, DevicePath::Wildcards wildcards = DevicePath::Wildcards::Refused);
    // The same, for a caller about to open the file: when the path names a regular file as
    // spelt it is opened with `open_flags` during the lookup (see take_fd()).
    NamedPath(const char16_t* text, int open_flags);
    ~NamedPath();
    NamedPath(const NamedPath&) = delete;
    NamedPath& operator=(const NamedPath&) = delete;

    // ERROR_SUCCESS when the path is usable and its folder exists (the entry itself may not).
    ce::DWORD error() const { return error_; }
    bool ok() const { return error_ == ce::ERROR_SUCCESS; }
    bool exists() const { return location_.exists; }
    bool is_directory() const { return location_.is_directory; }
    bool is_root() const { return path_.is_root(); }
    bool is_read_only() const;

    const DevicePath& path() const { return path_; }
    const std::filesystem::path& host() const { return location_.host; }
    // Made when first asked for: opening a file to read never needs it.
    const std::string& key() const;
    // The descriptor opened during the lookup, now the caller's; -1 when there is none.
    int take_fd();

private:
    // Looks the path up; with `open_flags`, opening the file as it goes.
    void look_up(std::optional<int> open_flags);

    DevicePath path_;
    DevicePath::Location location_;
    mutable std::optional<std::string> key_;
    ce::DWORD error_ = ce::ERROR_SUCCESS;
    int fd_ = -1;
};

}  // namespace host
