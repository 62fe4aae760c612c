#pragma once
// Files put into the handheld's image from the host, as an installer or the handheld's
// own ROM puts them there: the folders on the way are made, an existing file is replaced
// (a running program keeps its old one), programs are made executable.

#include <filesystem>
#include <optional>
#include <string_view>

#include "Console.h"

namespace handheld {

class DeviceImage {
public:
    enum class Kind { program, data };

    explicit DeviceImage(Console& console) : console_(console) {}

    // Copies a host file to a device path; false (with the reason told) when it cannot.
    bool put(const std::filesystem::path& from, std::u16string_view to, Kind kind);
    // The host file behind a device path, its folders made; nothing for a folder or a
    // path that names no file.
    static std::optional<std::filesystem::path> host_place(std::u16string_view device_path);
    static bool exists(std::u16string_view device_path);

private:
    Console& console_;
};

}  // namespace handheld
