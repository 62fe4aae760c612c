#pragma once
// WAV files for tests: a RIFF WAVE header with the chunks a test asks for, and the
// sound bytes, as the bytes of a file.

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace testing_support {

struct WavSpec {
    std::uint16_t format_tag = 1;
    std::uint16_t channels = 1;
    std::uint32_t rate = 8000;
    std::uint16_t bits = 8;
    std::vector<std::uint8_t> data;
    // Chunks before "fmt " (a "JUNK" chunk, say) and between "fmt " and "data" ("LIST").
    std::vector<std::uint8_t> leading_chunks;
    std::vector<std::uint8_t> extra_chunks;
    // Bytes after the 16 of the PCM format in "fmt ", from its extension size on.
    std::vector<std::uint8_t> format_extension;
    // Length written in the "data" header; the real length unless set.
    std::int64_t declared_length = -1;
};

inline void put_le(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline void put_tag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

inline std::vector<std::uint8_t> wav_bytes(const WavSpec& spec) {
    std::vector<std::uint8_t> out;
    const std::uint32_t block = spec.channels * spec.bits / 8u;
    put_tag(out, "RIFF");
    put_le(out,
           static_cast<std::uint32_t>(36 + spec.leading_chunks.size() + spec.format_extension.size() +
                                      spec.extra_chunks.size() + spec.data.size()),
           4);
    put_tag(out, "WAVE");
    out.insert(out.end(), spec.leading_chunks.begin(), spec.leading_chunks.end());
    put_tag(out, "fmt ");
    put_le(out, static_cast<std::uint32_t>(16 + spec.format_extension.size()), 4);
    put_le(out, spec.format_tag, 2);
    put_le(out, spec.channels, 2);
    put_le(out, spec.rate, 4);
    put_le(out, spec.rate * block, 4);
    put_le(out, block, 2);
    put_le(out, spec.bits, 2);
    out.insert(out.end(), spec.format_extension.begin(), spec.format_extension.end());
    out.insert(out.end(), spec.extra_chunks.begin(), spec.extra_chunks.end());
    put_tag(out, "data");
    put_le(out, static_cast<std::uint32_t>(spec.declared_length >= 0 ? spec.declared_length : spec.data.size()), 4);
    out.insert(out.end(), spec.data.begin(), spec.data.end());
    return out;
}

// Bytes that tell a shifted or repeated buffer from the right one.
inline std::vector<std::uint8_t> pattern_bytes(std::size_t count, std::uint32_t seed = 1) {
    std::vector<std::uint8_t> bytes(count);
    std::uint32_t state = seed;
    for (auto& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 16);
    }
    return bytes;
}

// A chunk of `payload` bytes (a pad byte follows an odd payload), such as a "LIST" chunk
// to put before "data".
inline std::vector<std::uint8_t> list_chunk(std::uint32_t payload, const char* tag = "LIST") {
    std::vector<std::uint8_t> out;
    put_tag(out, tag);
    put_le(out, payload, 4);
    out.resize(out.size() + payload + (payload & 1), 'x');
    return out;
}

// The extension of an extensible format: its size (22), valid bits, channel mask and
// the sub-format identifier whose first two bytes are `encoding` (1 is PCM, 3 float).
inline std::vector<std::uint8_t> extensible_extension(std::uint16_t valid_bits, std::uint16_t encoding) {
    std::vector<std::uint8_t> out;
    put_le(out, 22, 2);
    put_le(out, valid_bits, 2);
    put_le(out, 0x4, 4);
    put_le(out, encoding, 2);
    static constexpr std::uint8_t kRest[] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                             0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    out.insert(out.end(), std::begin(kRest), std::end(kRest));
    return out;
}

}  // namespace testing_support
