#include "DeviceImage.h"

#include <string>
#include <system_error>

#include "ErrorText.h"
#include "ce/Files.h"
#include "ce/Text.h"
#include "host/DeviceOwner.h"
#include "host/fs/DevicePath.h"

namespace handheld {

bool DeviceImage::exists(std::u16string_view device_path) {
    const std::u16string path(device_path);
    return ce::GetFileAttributesW(path.c_str()) != ce::INVALID_FILE_ATTRIBUTES;
}

std::optional<std::filesystem::path> DeviceImage::host_place(std::u16string_view device_path) {
    const host::DevicePath path = host::DevicePath::parse(device_path);
    if (!path.valid()) return std::nullopt;
    // The folders on the way, made as the device makes folders; existing ones stay.
    std::u16string folder;
    const auto& components = path.components();
    for (std::size_t index = 0; index + 1 < components.size(); ++index) {
        folder += u"\\" + components[index];
        ce::CreateDirectoryW(folder.c_str());
    }
    const auto location = path.locate();
    if (location.error != ce::ERROR_SUCCESS || location.is_directory) return std::nullopt;
    return location.host;
}

bool DeviceImage::put(const std::filesystem::path& from, std::u16string_view to, Kind kind) {
    const std::u16string path(to);
    const std::string shown = ce::utf8_from_utf16(path);
    // A running program keeps its old file; the new one takes its name.
    if (exists(path) && !ce::DeleteFileW(path.c_str())) {
        console_.fail("cannot replace " + shown + ": " + error_text(ce::GetLastError()));
        return false;
    }
    const auto place = host_place(path);
    std::error_code error;
    if (place) std::filesystem::copy_file(from, *place, error);
    if (!place || error) {
        console_.fail("cannot copy " + from.string() + " to " + shown + (error ? ": " + error.message() : ""));
        return false;
    }
    if (kind == Kind::program)
        std::filesystem::permissions(*place, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add,
                                     error);
    host::DeviceOwner::make_private(*place);
    return true;
}

}  // namespace handheld
