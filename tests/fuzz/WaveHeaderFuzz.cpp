// Feeds arbitrary bytes to the WAV header check the player runs on every file it maps
// and checks what the player relies on: it reads nothing outside the file, refuses with
// one of its two codes, and a file it accepts has its sound wholly inside the file and
// a format whose block and byte rate follow from channels, rate and sample size.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "sound/CSoundWave.h"
#include "sound/WaveFileHeader.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size, so that reading one byte past it is caught.
    const std::vector<std::uint8_t> file(data, data + size);
    const auto length = static_cast<std::uint32_t>(file.size());
    WaveFileHeader header;
    const std::uint32_t result = header.Parse(file.data(), length);
    require(result == 0 || result == CSoundWave::kNotWave || result == CSoundWave::kNotPcm);
    if (result != 0) return 0;
    require(length >= WaveFileHeader::kMinimumFileBytes);
    // The sound starts after the RIFF header and its own chunk header, at the earliest.
    require(header.DataStart() >= 12 + 8);
    require(header.DataStart() <= length);
    require(header.DataLength() <= length);
    require(header.PlayableLength() <= header.DataLength());
    require(std::uint64_t{header.DataStart()} + header.PlayableLength() <= length);
    const ce::WAVEFORMATEX& format = header.Format();
    require(format.wFormatTag == ce::WAVE_FORMAT_PCM && format.cbSize == 0);
    const std::uint32_t block = std::uint32_t{format.wBitsPerSample} * format.nChannels / 8;
    require(format.nBlockAlign == static_cast<ce::WORD>(block));
    require(format.nAvgBytesPerSec == block * format.nSamplesPerSec);
    return 0;
}
