// The pieces of the wave output that work on bytes: the software volume and the lines
// of the capture log.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "host/wave/CaptureLog.h"
#include "host/wave/VolumeScaler.h"

namespace {

struct VolumeCase {
    const char* name;
    ce::WORD channels;
    ce::WORD bits;
    ce::DWORD volume;
    std::vector<std::uint8_t> in;
    std::vector<std::uint8_t> out;
};

void PrintTo(const VolumeCase& row, std::ostream* out) { *out << row.name; }

class Volume : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(Volume, ScalesEachChannelAroundItsZero) {
    const VolumeCase& c = GetParam();
    ce::WAVEFORMATEX format;
    format.wFormatTag = ce::WAVE_FORMAT_PCM;
    format.nChannels = c.channels;
    format.wBitsPerSample = c.bits;
    format.nBlockAlign = static_cast<ce::WORD>(c.channels * c.bits / 8);
    auto bytes = c.in;
    host::VolumeScaler::apply(bytes.data(), bytes.size(), format, c.volume);
    EXPECT_EQ(bytes, c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Volume,
    ::testing::Values(
        VolumeCase{"Full16Unchanged", 1, 16, 0xFFFFFFFF, {0x00, 0x80, 0xFF, 0x7F}, {0x00, 0x80, 0xFF, 0x7F}},
        VolumeCase{"Silent16", 1, 16, 0, {0x00, 0x80, 0xFF, 0x7F}, {0x00, 0x00, 0x00, 0x00}},
        // -32768 and 32767 at half (0x8000 / 0xFFFF, rounded toward zero).
        VolumeCase{"Half16KeepsSign", 1, 16, 0x8000, {0x00, 0x80, 0xFF, 0x7F}, {0x00, 0xC0, 0xFF, 0x3F}},
        // Left at full, right silent: only odd channels change.
        VolumeCase{"StereoRightOnly", 2, 16, 0x0000FFFF, {0x10, 0x20, 0x10, 0x20}, {0x10, 0x20, 0x00, 0x00}},
        // 8-bit samples are unsigned: silence is 128.
        VolumeCase{"Silent8IsMidpoint", 1, 8, 0, {0x00, 0xFF, 0x80}, {0x80, 0x80, 0x80}},
        // -8388608 becomes -4194368: 24-bit samples keep their sign across three bytes.
        VolumeCase{"Half24", 1, 24, 0x8000, {0x00, 0x00, 0x80}, {0xC0, 0xFF, 0xBF}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CaptureLog, LinesReadBackAsWritten) {
    host::CaptureEntry entry;
    entry.start = ce::SYSTEMTIME{2026, 12, 2, 8, 1, 40, 0, 123};
    entry.end = ce::SYSTEMTIME{2026, 12, 2, 8, 1, 40, 3, 101};
    entry.file = "audio/x-1.wav";
    entry.format.nSamplesPerSec = 48000;
    entry.format.wBitsPerSample = 16;
    entry.format.nChannels = 2;
    entry.bytes = 142722;
    entry.buffers = 8;
    entry.largest_buffer = 19200;
    entry.volume = 0x80004000;
    const std::string line = host::CaptureLog::format(entry);
    EXPECT_EQ(line,
              "2026-12-08 01:40:00.123 .. 2026-12-08 01:40:03.101  audio/x-1.wav  PCM 48000 Hz 16-bit 2 ch  "
              "142722 bytes in 8 buffers of up to 19200  volume 0x80004000");
    const auto parsed = host::CaptureLog::parse(line);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(host::CaptureLog::format(*parsed), line);
    EXPECT_FALSE(host::CaptureLog::parse("2026-12-08 garbage").has_value());
}

}  // namespace
