#pragma once
// What the player needs from the start of a WAV file: its PCM format and where its
// sound bytes are. Walks the RIFF chunk list, so "fmt " and "data" are found wherever
// a writer put them (after a "JUNK" or "LIST" chunk, say); reads only the bytes it is
// given, every chunk length checked against the file.

#include <cstdint>
#include <optional>

#include "ce/Wave.h"

class WaveFileHeader {
public:
    static constexpr std::uint32_t kMinimumFileBytes = 45;
    // The format tag of a file that names its encoding by a sub-format identifier.
    static constexpr std::uint16_t kFormatExtensible = 0xFFFE;

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
    struct Chunk {
        std::uint32_t body = 0;    // offset of the first byte after the chunk header
        std::uint32_t length = 0;  // the length field as written
    };
    void FindChunks(const std::uint8_t* bytes, std::uint32_t size);
    bool IsPcm(const std::uint8_t* format) const;
    void ReadFormat(const std::uint8_t* format);

    std::optional<Chunk> format_chunk_;
    std::optional<Chunk> data_chunk_;
    ce::WAVEFORMATEX format_;
    std::uint32_t data_start_ = 0;
    std::uint32_t data_length_ = 0;
    std::uint32_t playable_length_ = 0;
};
