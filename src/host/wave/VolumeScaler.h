#pragma once
// Applies a wave device volume to PCM samples in place, for back-ends whose hardware has
// no volume of its own: left (low 16 bits) on even channels, right (high) on odd ones,
// 0xFFFF leaving a channel as it is.

#include <cstddef>

#include "ce/Wave.h"

namespace host {

class VolumeScaler {
public:
    static bool is_full(ce::DWORD volume) { return volume == 0xFFFFFFFF; }
    // `count` is a whole number of blocks of `format`.
    static void apply(ce::BYTE* bytes, std::size_t count, const ce::WAVEFORMATEX& format, ce::DWORD volume);
};

}  // namespace host
