#pragma once
// The file `handheld play` plays: a device path (starting with '\') as it is, or a file
// of the host brought onto the handheld for the play, as a copy \Temp\play-PID-NAME
// removed afterwards.

#include <filesystem>
#include <string>

namespace handheld {

class SoundFile {
public:
    SoundFile() = default;
    ~SoundFile();
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;

    // False with error() saying why when a host file cannot be brought over.
    bool place(const std::string& given);
    const std::u16string& device_path() const { return device_path_; }
    const std::string& error() const { return error_; }

private:
    std::u16string device_path_;
    std::filesystem::path staged_;
    std::string error_;
};

}  // namespace handheld
