#pragma once
// A WAV file being written as a play goes on: the 44-byte PCM header, then the bytes
// exactly as they were played; the sizes are filled in when it is finished.

#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "ce/Wave.h"

namespace host {

class CaptureFile {
public:
    CaptureFile() = default;
    ~CaptureFile();
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;

    bool create(const std::filesystem::path& path, const ce::WAVEFORMATEX& format);
    bool append(const ce::BYTE* bytes, std::size_t count);
    // Writes the sizes (and the pad byte an odd data chunk needs) and closes the file.
    bool finish();
    std::uint64_t bytes() const { return bytes_; }

private:
    bool write_header(std::uint32_t data_bytes);

    std::FILE* file_ = nullptr;
    ce::WAVEFORMATEX format_;
    std::uint64_t bytes_ = 0;
    bool ok_ = true;
};

}  // namespace host
