#pragma once
// What the player needs from the start of a WAV file: its PCM format and where its
// sound bytes are. Reads only the bytes it is given.

#include <cstdint>

#include "ce/Wave.h"

class WaveFileHeader {
public:
    static constexpr std::uint32_t kMinimumFileBytes = 45;
    // The "data" chunk is looked for at even offsets from 32 up to this (exclusive).
    static constexpr std::uint32_t kDataSearchFirst = 32;
    static constexpr std::uint32_t kDataSearchLimit = 100;

    // 0, or the player's codes: CSoundWave::kNotWave (1003) or kNotPcm (1004).
    std::uint32_t Parse(const std::uint8_t* bytes, std::uint32_t size);

    const ce::WAVEFORMATEX& Format() const { return format_; }
    std::uint32_t DataStart() const { return data_start_; }
    // The "data" chunk's length field as written in the file.
    std::uint32_t DataLength() const { return data_length_; }
    // The sound bytes there are: a length running past the end of the file (a file cut
    // short) ends with the file.
    std::uint32_t PlayableLength() const { return playable_length_; }

private:
    bool FindData(const std::uint8_t* bytes, std::uint32_t size);
    void ReadFormat(const std::uint8_t* bytes);

    ce::WAVEFORMATEX format_;
    std::uint32_t data_start_ = 0;
    std::uint32_t data_length_ = 0;
    std::uint32_t playable_length_ = 0;
};
