#include "host/wave/VolumeScaler.h"

#include <cstdint>

namespace host {

namespace {

// Little-endian signed sample of `width` bytes; 8-bit samples are unsigned around 128.
std::int64_t read_sample(const ce::BYTE* at, unsigned width) {
    if (width == 1) return static_cast<std::int64_t>(at[0]) - 128;
    std::uint64_t raw = 0;
    for (unsigned i = 0; i < width; ++i) raw |= std::uint64_t{at[i]} << (8 * i);
    const unsigned shift = 64 - 8 * width;
    return static_cast<std::int64_t>(raw << shift) >> shift;
}

void write_sample(ce::BYTE* at, unsigned width, std::int64_t value) {
    if (width == 1) {
        at[0] = static_cast<ce::BYTE>(value + 128);
        return;
    }
    const auto raw = static_cast<std::uint64_t>(value);
    for (unsigned i = 0; i < width; ++i) at[i] = static_cast<ce::BYTE>(raw >> (8 * i));
}

}  // namespace

void VolumeScaler::apply(ce::BYTE* bytes, std::size_t count, const ce::WAVEFORMATEX& format, ce::DWORD volume) {
    const unsigned width = format.wBitsPerSample / 8u;
    if (width == 0 || format.nChannels == 0) return;
    const std::int64_t gains[2] = {volume & 0xFFFF, volume >> 16};
    const std::size_t samples = count / width;
    for (std::size_t i = 0; i < samples; ++i) {
        const std::int64_t gain = gains[(i % format.nChannels) % 2];
        if (gain == 0xFFFF) continue;
        ce::BYTE* at = bytes + i * width;
        write_sample(at, width, read_sample(at, width) * gain / 0xFFFF);
    }
}

}  // namespace host
