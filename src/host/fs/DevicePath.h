#pragma once
// A device path ("\My Documents\a.wav") checked and split into its components, and its
// place in the handheld's fs/ folder. Lookups ignore case per component, as on the device;
// new entries get the spelling the caller gave. Nothing a caller passes can name a file
// outside fs/.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ce/Types.h"

namespace host {

class DevicePath {
public:
    enum class Wildcards { Refused, AllowedInName };

    // Where a device path is on the host. `host` is the existing entry when `exists`,
    // else the name as given inside the existing parent folder.
    struct Location {
        ce::DWORD error = ce::ERROR_SUCCESS;  // ERROR_PATH_NOT_FOUND when a folder on the way is missing
        std::filesystem::path host;
        bool exists = false;
        bool is_directory = false;
    };

    DevicePath() = default;  // the root folder

    // A NUL-terminated device path; a path without a leading backslash is taken from the
    // root too. Empty and "." components are skipped; ".." is refused.
    static DevicePath parse(const char16_t* path, Wildcards wildcards = Wildcards::Refused);
    static DevicePath parse(std::u16string_view path, Wildcards wildcards = Wildcards::Refused);
    // The device path of an entry inside the handheld's fs/ folder (`fs_root`, or the current
    // handheld's); error() is ERROR_INVALID_NAME for a host path outside it.
    static DevicePath from_host(const std::filesystem::path& host_path);
    static DevicePath from_host(const std::filesystem::path& host_path, const std::filesystem::path& fs_root);

    // ERROR_SUCCESS, or ERROR_INVALID_NAME / ERROR_INVALID_PARAMETER for a path that cannot be used.
    ce::DWORD error() const { return error_; }
    bool valid() const { return error_ == ce::ERROR_SUCCESS; }
    bool is_root() const { return components_.empty(); }
    const std::vector<std::u16string>& components() const { return components_; }
    std::u16string name() const;
    DevicePath parent() const;
    // The path of an entry of this folder; invalid when `entry` is not a usable name.
    DevicePath child(std::u16string_view entry) const;

    // "\Folder\File.txt" (a single backslash for the root).
    std::u16string text() const;
    // The case-folded path in UTF-8: the same for every spelling of one path, so it keys
    // the file's attributes and its sharing state.
    std::string key() const;

    // Finds the path in the current handheld's fs/ folder, or in `fs_root`. The path as
    // spelt is tried first, in one go; the folders are searched for another spelling
    // only when that misses.
    Location locate() const;
    Location locate(const std::filesystem::path& fs_root) const;
    // Finds the path as locate() does; when it names a regular file as spelt, the file is
    // opened on the way with `open_flags` (O_CLOEXEC added) and *fd is its descriptor,
    // which the caller closes; otherwise *fd is -1.
    Location locate_opening(int open_flags, int* fd) const;

    // ERROR_SUCCESS when `name` can be a file name on the device (with '*' and '?' when allowed).
    static ce::DWORD check_name(std::u16string_view name, Wildcards wildcards = Wildcards::Refused);
    // The host spelling of the entry of `directory` called `name` ignoring case, an exact
    // match first; nothing when there is none.
    static std::optional<std::string> find_entry(const std::filesystem::path& directory, std::u16string_view name);

private:
    static DevicePath failed(ce::DWORD error);
    static bool inside(const std::filesystem::path& host, const std::filesystem::path& fs_root);
    Location locate(const std::filesystem::path& fs_root, int root_fd, int open_flags, int* fd) const;
    std::optional<Location> locate_exact(const std::filesystem::path& fs_root, int root_fd, int open_flags,
                                         int* fd) const;
    Location finish(Location location, const std::filesystem::path& fs_root, bool through_link) const;

    std::vector<std::u16string> components_;
    ce::DWORD error_ = ce::ERROR_SUCCESS;
};

}  // namespace host
