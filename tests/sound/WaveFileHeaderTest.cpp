// Reading the start of a WAV file from memory: which files are refused with which
// code, where the sound is, and which format it is played in.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "WavFile.h"
#include "sound/CSoundWave.h"
#include "sound/WaveFileHeader.h"

namespace {

using testing_support::WavSpec;
using testing_support::wav_bytes;

std::vector<std::uint8_t> with(WavSpec spec, void (*change)(WavSpec&)) {
    change(spec);
    return wav_bytes(spec);
}

WavSpec one_byte() {
    WavSpec spec;
    spec.data = {0x42};
    return spec;
}

std::vector<std::uint8_t> patched(std::vector<std::uint8_t> bytes, std::size_t at, const char* text) {
    for (std::size_t i = 0; text[i] != '\0'; ++i) bytes[at + i] = static_cast<std::uint8_t>(text[i]);
    return bytes;
}

std::vector<std::uint8_t> cut(std::vector<std::uint8_t> bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

struct HeaderCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::uint32_t result;
    std::uint32_t data_start;
    std::uint32_t playable;
};

void PrintTo(const HeaderCase& row, std::ostream* out) { *out << row.name; }

class Header : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(Header, FindsTheSoundOrRefusesTheFile) {
    const HeaderCase& c = GetParam();
    // A copy of exactly the file's size: reading one byte past it is caught by the sanitizer.
    std::vector<std::uint8_t> file(c.bytes);
    WaveFileHeader header;
    ASSERT_EQ(header.Parse(file.data(), static_cast<std::uint32_t>(file.size())), c.result);
    if (c.result != 0) return;
    EXPECT_EQ(header.DataStart(), c.data_start);
    EXPECT_EQ(header.PlayableLength(), c.playable);
}

const WavSpec kOneByte = one_byte();

INSTANTIATE_TEST_SUITE_P(
    Cases, Header,
    ::testing::Values(
        HeaderCase{"FortyFourBytes", wav_bytes(WavSpec{}), CSoundWave::kNotWave, 0, 0},
        HeaderCase{"FortyFiveBytesOneSample", wav_bytes(kOneByte), 0, 44, 1},
        HeaderCase{"NoRiff", patched(wav_bytes(kOneByte), 0, "RIFX"), CSoundWave::kNotWave, 0, 0},
        HeaderCase{"NoWave", patched(wav_bytes(kOneByte), 8, "AVI "), CSoundWave::kNotWave, 0, 0},
        HeaderCase{"Float", with(kOneByte, [](WavSpec& s) { s.format_tag = 3; }), CSoundWave::kNotPcm, 0, 0},
        HeaderCase{"ExtensibleWithoutSubFormat", with(kOneByte, [](WavSpec& s) { s.format_tag = 0xFFFE; }),
                   CSoundWave::kNotPcm, 0, 0},
        HeaderCase{"ExtensiblePcm", with(kOneByte, [](WavSpec& s) {
                       s.format_tag = 0xFFFE;
                       s.format_extension = testing_support::extensible_extension(8, 1);
                   }), 0, 68, 1},
        HeaderCase{"ExtensibleFloat", with(kOneByte, [](WavSpec& s) {
                       s.format_tag = 0xFFFE;
                       s.format_extension = testing_support::extensible_extension(32, 3);
                   }), CSoundWave::kNotPcm, 0, 0},
        HeaderCase{"NoFmtChunk", patched(wav_bytes(kOneByte), 12, "fmx "), CSoundWave::kNotWave, 0, 0},
        HeaderCase{"FmtLongerThanTheFile", patched(wav_bytes(kOneByte), 17, "\x01"), CSoundWave::kNotWave, 0, 0},
        HeaderCase{"JunkBeforeFmt",
                   with(kOneByte, [](WavSpec& s) { s.leading_chunks = testing_support::list_chunk(28, "JUNK"); }), 0,
                   80, 1},
        HeaderCase{"StrayByteBeforeData", with(kOneByte, [](WavSpec& s) { s.extra_chunks = {'x'}; }),
                   CSoundWave::kNotWave, 0, 0},
        HeaderCase{"OddChunkIsPadded", with(kOneByte, [](WavSpec& s) { s.extra_chunks = testing_support::list_chunk(3); }),
                   0, 56, 1},
        HeaderCase{"ListBeforeDataAt98",
                   with(kOneByte, [](WavSpec& s) { s.extra_chunks = testing_support::list_chunk(54); }), 0, 106, 1},
        HeaderCase{"ListPushesDataPastOffset100",
                   with(kOneByte, [](WavSpec& s) { s.extra_chunks = testing_support::list_chunk(4000); }), 0, 4052, 1},
        // Walked in 32 bits, this length would lead back to offset 28 and round again.
        HeaderCase{"ChunkLengthNearFourGigabytes",
                   with(kOneByte, [](WavSpec& s) { s.extra_chunks = {'L', 'I', 'S', 'T', 0xF0, 0xFF, 0xFF, 0xFF}; }),
                   CSoundWave::kNotWave, 0, 0},
        HeaderCase{"DataLongerThanTheFile", with(kOneByte, [](WavSpec& s) { s.declared_length = 46; }),
                   CSoundWave::kNotWave, 0, 0},
        // Inside the file size but past its end: played up to the end of the file.
        HeaderCase{"DataRunsPastTheEnd", with(kOneByte, [](WavSpec& s) { s.declared_length = 45; }), 0, 44, 1},
        // "data" whose length field is cut off by the end of the file is no chunk.
        HeaderCase{"DataHeaderCutOff",
                   cut(with(kOneByte, [](WavSpec& s) { s.extra_chunks = {'J', 'U', 'N', 'K'}; }), 46),
                   CSoundWave::kNotWave, 0, 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Header, FormatFollowsFromChannelsRateAndSampleSizeNotTheFilesOwnFields) {
    WavSpec spec;
    spec.channels = 2;
    spec.rate = 44100;
    spec.bits = 16;
    spec.data.assign(8, 0);
    auto bytes = wav_bytes(spec);
    bytes[28] = bytes[29] = bytes[30] = bytes[31] = 0xFF;  // byte rate
    bytes[32] = 7;                                          // block alignment
    WaveFileHeader header;
    ASSERT_EQ(header.Parse(bytes.data(), static_cast<std::uint32_t>(bytes.size())), 0u);
    EXPECT_EQ(header.Format().wFormatTag, ce::WAVE_FORMAT_PCM);
    EXPECT_EQ(header.Format().nChannels, 2);
    EXPECT_EQ(header.Format().nSamplesPerSec, 44100u);
    EXPECT_EQ(header.Format().wBitsPerSample, 16);
    EXPECT_EQ(header.Format().nBlockAlign, 4);
    EXPECT_EQ(header.Format().nAvgBytesPerSec, 176400u);
    EXPECT_EQ(header.Format().cbSize, 0);
}

TEST(Header, ExtensiblePcmPlaysAsPcmInTheSizeOfItsSampleContainer) {
    WavSpec spec;
    spec.format_tag = 0xFFFE;
    spec.channels = 2;
    spec.rate = 48000;
    spec.bits = 32;  // 24 valid bits in each 32-bit container
    spec.format_extension = testing_support::extensible_extension(24, 1);
    spec.data.assign(16, 0);
    const auto bytes = wav_bytes(spec);
    WaveFileHeader header;
    ASSERT_EQ(header.Parse(bytes.data(), static_cast<std::uint32_t>(bytes.size())), 0u);
    EXPECT_EQ(header.Format().wFormatTag, ce::WAVE_FORMAT_PCM);
    EXPECT_EQ(header.Format().wBitsPerSample, 32);
    EXPECT_EQ(header.Format().nBlockAlign, 8);
    EXPECT_EQ(header.Format().nAvgBytesPerSec, 384000u);
}

}  // namespace
