#include "host/wave/CaptureFile.h"

#include <array>
#include <limits>

namespace host {

namespace {

constexpr std::size_t kHeaderBytes = 44;

void put16(ce::BYTE* at, std::uint32_t value) {
    at[0] = static_cast<ce::BYTE>(value);
    at[1] = static_cast<ce::BYTE>(value >> 8);
}

void put32(ce::BYTE* at, std::uint32_t value) {
    put16(at, value);
    put16(at + 2, value >> 16);
}

}  // namespace

CaptureFile::~CaptureFile() {
    if (file_ != nullptr) finish();
}

bool CaptureFile::create(const std::filesystem::path& path, const ce::WAVEFORMATEX& format) {
    format_ = format;
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr && write_header(0);
}

bool CaptureFile::write_header(std::uint32_t data_bytes) {
    std::array<ce::BYTE, kHeaderBytes> header{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E',
                                              'f', 'm', 't', ' ', 16, 0, 0, 0};
    put32(&header[4], 36 + data_bytes + (data_bytes & 1));
    put16(&header[20], format_.wFormatTag);
    put16(&header[22], format_.nChannels);
    put32(&header[24], format_.nSamplesPerSec);
    put32(&header[28], format_.nAvgBytesPerSec);
    put16(&header[32], format_.nBlockAlign);
    put16(&header[34], format_.wBitsPerSample);
    header[36] = 'd', header[37] = 'a', header[38] = 't', header[39] = 'a';
    put32(&header[40], data_bytes);
    return std::fseek(file_, 0, SEEK_SET) == 0 && std::fwrite(header.data(), 1, header.size(), file_) == header.size();
}

bool CaptureFile::append(const ce::BYTE* bytes, std::size_t count) {
    if (file_ == nullptr) return false;
    ok_ = ok_ && std::fwrite(bytes, 1, count, file_) == count;
    bytes_ += count;
    return ok_;
}

bool CaptureFile::finish() {
    if (file_ == nullptr) return false;
    // A WAV data chunk cannot say more than 4 GB; longer captures keep the bytes.
    const auto size = static_cast<std::uint32_t>(std::min<std::uint64_t>(bytes_, std::numeric_limits<std::uint32_t>::max() - 37));
    bool ok = ok_;
    if ((bytes_ & 1) != 0) ok = ok && std::fputc(0, file_) != EOF;
    ok = ok && write_header(size);
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    return ok;
}

}  // namespace host
