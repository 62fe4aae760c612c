#include "sound/WaveFileHeader.h"

#include <algorithm>
#include <cstring>

#include "sound/CSoundWave.h"

namespace {

constexpr std::uint32_t kRiffOffset = 0;
constexpr std::uint32_t kWaveOffset = 8;
constexpr std::uint32_t kFormatTagOffset = 20;
constexpr std::uint32_t kChannelsOffset = 22;
constexpr std::uint32_t kRateOffset = 24;
constexpr std::uint32_t kBitsOffset = 34;
constexpr std::uint32_t kChunkHeaderBytes = 8;

std::uint16_t Read16(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | (at[1] << 8)); }
std::uint32_t Read32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} | (std::uint32_t{at[1]} << 8) | (std::uint32_t{at[2]} << 16) |
           (std::uint32_t{at[3]} << 24);
}
bool HasTag(const std::uint8_t* at, const char* tag) { return std::memcmp(at, tag, 4) == 0; }

}  // namespace

std::uint32_t WaveFileHeader::Parse(const std::uint8_t* bytes, std::uint32_t size) {
    if (size < kMinimumFileBytes || !HasTag(bytes + kRiffOffset, "RIFF") || !HasTag(bytes + kWaveOffset, "WAVE"))
        return CSoundWave::kNotWave;
    // The "fmt " chunk is taken to be at offset 12 without looking at its identifier.
    if (Read16(bytes + kFormatTagOffset) != ce::WAVE_FORMAT_PCM) return CSoundWave::kNotPcm;
    if (!FindData(bytes, size)) return CSoundWave::kNotWave;
    if (data_length_ > size) return CSoundWave::kNotWave;
    playable_length_ = std::min(data_length_, size - data_start_);
    ReadFormat(bytes);
    return 0;
}

bool WaveFileHeader::FindData(const std::uint8_t* bytes, std::uint32_t size) {
    const std::uint32_t limit = std::min(size, kDataSearchLimit);
    // A chunk header only counts when all of it (identifier and length) is in the file.
    for (std::uint32_t offset = kDataSearchFirst; offset < limit && offset + kChunkHeaderBytes <= size; offset += 2) {
        if (!HasTag(bytes + offset, "data")) continue;
        data_start_ = offset + kChunkHeaderBytes;
        data_length_ = Read32(bytes + offset + 4);
        return true;
    }
    return false;
}

void WaveFileHeader::ReadFormat(const std::uint8_t* bytes) {
    // The file's own block alignment and byte rate are not trusted; both follow from the
    // channels, the rate and the sample size.
    format_ = ce::WAVEFORMATEX{};
    format_.wFormatTag = ce::WAVE_FORMAT_PCM;
    format_.nChannels = Read16(bytes + kChannelsOffset);
    format_.nSamplesPerSec = Read32(bytes + kRateOffset);
    format_.wBitsPerSample = Read16(bytes + kBitsOffset);
    const std::uint32_t block = std::uint32_t{format_.wBitsPerSample} * format_.nChannels / 8;
    format_.nBlockAlign = static_cast<ce::WORD>(block);
    format_.nAvgBytesPerSec = block * format_.nSamplesPerSec;
    format_.cbSize = 0;
}
