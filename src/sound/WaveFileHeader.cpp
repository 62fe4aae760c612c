#include "sound/WaveFileHeader.h"

#include <algorithm>
#include <cstring>

#include "sound/CSoundWave.h"

namespace {

constexpr std::uint32_t kRiffOffset = 0;
constexpr std::uint32_t kWaveOffset = 8;
constexpr std::uint32_t kFirstChunk = 12;
constexpr std::uint32_t kChunkHeaderBytes = 8;

// Offsets inside the "fmt " chunk's body.
constexpr std::uint32_t kFormatTag = 0;
constexpr std::uint32_t kChannels = 2;
constexpr std::uint32_t kRate = 4;
constexpr std::uint32_t kBits = 14;
constexpr std::uint32_t kPcmFormatBytes = 16;
constexpr std::uint32_t kExtensionSize = 16;
constexpr std::uint32_t kSubFormat = 24;
constexpr std::uint32_t kExtensibleFormatBytes = 40;
constexpr std::uint16_t kExtensibleExtensionBytes = 22;
// The sub-format identifier of PCM samples in an extensible format.
constexpr std::uint8_t kPcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                            0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

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
    FindChunks(bytes, size);
    // A format that is not wholly in the file, or too short to say what it is, is no format.
    if (!format_chunk_ || format_chunk_->length < kPcmFormatBytes ||
        format_chunk_->length > size - format_chunk_->body)
        return CSoundWave::kNotWave;
    const std::uint8_t* format = bytes + format_chunk_->body;
    if (!IsPcm(format)) return CSoundWave::kNotPcm;
    if (!data_chunk_ || data_chunk_->length > size) return CSoundWave::kNotWave;
    data_start_ = data_chunk_->body;
    data_length_ = data_chunk_->length;
    playable_length_ = std::min(data_length_, size - data_start_);
    ReadFormat(format);
    return 0;
}

void WaveFileHeader::FindChunks(const std::uint8_t* bytes, std::uint32_t size) {
    format_chunk_.reset();
    data_chunk_.reset();
    // 64 bits: a length near 4 GB must end the walk, not wrap it back into the file.
    std::uint64_t at = kFirstChunk;
    while (at + kChunkHeaderBytes <= size && !(format_chunk_ && data_chunk_)) {
        const std::uint8_t* header = bytes + at;
        const Chunk chunk{static_cast<std::uint32_t>(at + kChunkHeaderBytes), Read32(header + 4)};
        if (!format_chunk_ && HasTag(header, "fmt ")) format_chunk_ = chunk;
        if (!data_chunk_ && HasTag(header, "data")) data_chunk_ = chunk;
        // A chunk of odd length is followed by a pad byte.
        at = std::uint64_t{chunk.body} + chunk.length + (chunk.length & 1);
    }
}

bool WaveFileHeader::IsPcm(const std::uint8_t* format) const {
    const std::uint16_t tag = Read16(format + kFormatTag);
    if (tag == ce::WAVE_FORMAT_PCM) return true;
    // An extensible format is PCM when its sub-format says so.
    return tag == kFormatExtensible && format_chunk_->length >= kExtensibleFormatBytes &&
           Read16(format + kExtensionSize) >= kExtensibleExtensionBytes &&
           std::memcmp(format + kSubFormat, kPcmSubFormat, sizeof kPcmSubFormat) == 0;
}

void WaveFileHeader::ReadFormat(const std::uint8_t* format) {
    // The file's own block alignment and byte rate are not trusted; both follow from the
    // channels, the rate and the sample size (for an extensible format, the size of the
    // sample's container, which is what the bytes hold).
    format_ = ce::WAVEFORMATEX{};
    format_.wFormatTag = ce::WAVE_FORMAT_PCM;
    format_.nChannels = Read16(format + kChannels);
    format_.nSamplesPerSec = Read32(format + kRate);
    format_.wBitsPerSample = Read16(format + kBits);
    const std::uint32_t block = std::uint32_t{format_.wBitsPerSample} * format_.nChannels / 8;
    format_.nBlockAlign = static_cast<ce::WORD>(block);
    format_.nAvgBytesPerSec = block * format_.nSamplesPerSec;
    format_.cbSize = 0;
}
