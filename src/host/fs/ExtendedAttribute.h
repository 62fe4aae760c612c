#pragma once
// The handheld attributes of one host file kept beside it, in its extended attribute
// user.kivo.attributes (decimal text, `getfattr -n user.kivo.attributes FILE` shows it):
// reading them costs one system call, and they go wherever the file goes (renamed,
// swapped in by a replacement, moved with its folder) and vanish with it. A file
// system without user extended attributes, or a file this process may not change,
// refuses, and the caller keeps the attributes in device.db instead.

#include <filesystem>
#include <optional>

#include "ce/Types.h"

namespace host {

class ExtendedAttribute {
public:
    static constexpr const char* kName = "user.kivo.attributes";

    // The attributes kept on the file (its open descriptor when `fd` >= 0, else the file
    // at `host`); nothing when it has none or its file system keeps none.
    static std::optional<ce::DWORD> read(const std::filesystem::path& host, int fd = -1);
    static std::optional<ce::DWORD> read(const char* host, int fd = -1);
    // The same for the entry `name` of the open folder `folder_fd` (at `host`): a listing
    // asks for every entry, and from the folder the kernel looks up one name, not a path.
    static std::optional<ce::DWORD> read_in(int folder_fd, const char* name, const char* host);
    // False when the attribute could not be kept there.
    static bool write(const std::filesystem::path& host, ce::DWORD attributes, int fd = -1);
};

}  // namespace host
