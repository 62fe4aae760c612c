#include "SoundFile.h"

#include <unistd.h>

#include <system_error>

#include "ce/Text.h"
#include "host/Device.h"
#include "host/DeviceOwner.h"

namespace handheld {

SoundFile::~SoundFile() {
    std::error_code error;
    if (!staged_.empty()) std::filesystem::remove(staged_, error);
}

bool SoundFile::place(const std::string& given) {
    if (given.starts_with("\\")) {
        device_path_ = ce::utf16_from_utf8(given);
        return true;
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(given, error)) {
        error_ = "no file " + given + " (a device path starts with \\)";
        return false;
    }
    const std::string name = "play-" + std::to_string(getpid()) + "-" + std::filesystem::path(given).filename().string();
    const auto folder = host::Device::current().fs_dir() / "Temp";
    std::filesystem::create_directories(folder, error);
    staged_ = folder / name;
    // A copy, never a link: the handheld keeps its sharing locks and attributes on the
    // file itself, and a link would put them on the host's file and on every other
    // handheld playing it at the same time.
    std::filesystem::copy_file(given, staged_, std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        error_ = "cannot bring " + given + " onto the handheld: " + error.message();
        staged_.clear();
        return false;
    }
    host::DeviceOwner::make_private(staged_);
    device_path_ = ce::utf16_from_utf8("\\Temp\\" + name);
    return true;
}

}  // namespace handheld
