// The player on a captured wave output, as the reminder and the sound test use it:
// what it refuses, what it plays (to the byte), how it ends, stops and plays again.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "SoundTesting.h"
#include "ce/Files.h"

namespace {

using namespace sound_tests;
using testing_support::WavSpec;
using testing_support::wav_bytes;
using Clock = std::chrono::steady_clock;

std::vector<std::uint8_t> data_of(const std::vector<std::uint8_t>& file, std::size_t start, std::size_t length) {
    return {file.begin() + static_cast<std::ptrdiff_t>(start),
            file.begin() + static_cast<std::ptrdiff_t>(start + length)};
}

TEST_F(Player, PlaysTheAlsaTestSoundsByteForByte) {
    for (const char* name : {"Front_Center.wav", "Front_Left.wav"}) {
        const std::filesystem::path source = std::filesystem::path("/usr/share/sounds/alsa") / name;
        ASSERT_TRUE(std::filesystem::exists(source)) << "alsa-utils installs " << source;
        const auto file = read_file(source);
        ASSERT_EQ(play(put(name, file)), CSoundWave::kPlaying) << name;
        ASSERT_TRUE(ended()) << name;
    }
    const auto plays = captures();
    ASSERT_EQ(plays.size(), 2u);
    const char* names[] = {"Front_Center.wav", "Front_Left.wav"};
    for (std::size_t i = 0; i < plays.size(); ++i) {
        const auto source = read_file(std::filesystem::path("/usr/share/sounds/alsa") / names[i]);
        const std::uint32_t length = source[40] | source[41] << 8 | source[42] << 16 | source[43] << 24;
        EXPECT_EQ(plays[i].bytes, length);
        EXPECT_EQ(captured_bytes(plays[i]), data_of(source, 44, length));
        EXPECT_EQ(plays[i].largest_buffer, 48000u * 2 / 5) << "200 ms of 16-bit mono 48 kHz";
    }
}

struct RefusalCase {
    const char* name;
    std::vector<std::uint8_t> bytes;  // empty: no file at all
    ce::DWORD result;
};

void PrintTo(const RefusalCase& row, std::ostream* out) { *out << row.name; }

class PlayerRefuses : public Player, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(PlayerRefuses, WithItsCodeAndStaysIdle) {
    const RefusalCase& c = GetParam();
    const std::u16string path = c.bytes.empty() ? u"\\missing.wav" : put("bad.wav", c.bytes);
    EXPECT_EQ(play(path), c.result);
    EXPECT_FALSE(player_->IsOpen());
    EXPECT_FALSE(ended(300)) << "a failed play reports no end";
    if (c.result == CSoundWave::kCannotMap) return;
    const ce::HANDLE writer = ce::CreateFileW(path.c_str(), ce::GENERIC_WRITE, 0, ce::OPEN_EXISTING);
    EXPECT_NE(writer, ce::INVALID_HANDLE_VALUE) << "the file is let go";
    ce::CloseHandle(writer);
    EXPECT_TRUE(captures().empty());
}

std::vector<std::uint8_t> spec_bytes(void (*change)(WavSpec&)) {
    WavSpec spec;
    spec.data = testing_support::pattern_bytes(800);
    change(spec);
    return wav_bytes(spec);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayerRefuses,
    ::testing::Values(RefusalCase{"NoFile", {}, CSoundWave::kCannotMap},
                      RefusalCase{"Empty", {0}, CSoundWave::kNotWave},
                      RefusalCase{"FortyFourBytes", wav_bytes(WavSpec{}), CSoundWave::kNotWave},
                      RefusalCase{"Extensible", spec_bytes([](WavSpec& s) { s.format_tag = 0xFFFE; }),
                                  CSoundWave::kNotPcm},
                      RefusalCase{"ExtensibleFloat", spec_bytes([](WavSpec& s) {
                                      s.format_tag = 0xFFFE;
                                      s.format_extension = testing_support::extensible_extension(32, 3);
                                  }),
                                  CSoundWave::kNotPcm},
                      RefusalCase{"SampleSizeNoDeviceTakes", spec_bytes([](WavSpec& s) { s.bits = 12; }),
                                  CSoundWave::kNoDevice},
                      // 4 bytes a second: a buffer of 200 ms would hold nothing.
                      RefusalCase{"ByteRateBelowFive", spec_bytes([](WavSpec& s) { s.rate = 4; }),
                                  CSoundWave::kNoBuffers}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(Player, NoPathIsRefusedFirst) {
    EXPECT_EQ(player_->Play(nullptr), CSoundWave::kNoFile);
    EXPECT_EQ(player_->Play(u""), CSoundWave::kNoFile);
}

struct RingCase {
    const char* name;
    WavSpec spec;
    std::uint64_t buffers;
    ce::DWORD largest;
};

void PrintTo(const RingCase& row, std::ostream* out) { *out << row.name; }

class PlayerRing : public Player, public ::testing::WithParamInterface<RingCase> {};

TEST_P(PlayerRing, QueuesTwoHundredMillisecondBuffersAndReportsTheEnd) {
    const RingCase& c = GetParam();
    const auto file = wav_bytes(c.spec);
    ASSERT_EQ(play(put("ring.wav", file)), CSoundWave::kPlaying);
    ASSERT_TRUE(ended());
    const auto plays = captures();
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].buffers, c.buffers);
    EXPECT_EQ(plays[0].largest_buffer, c.largest);
    EXPECT_EQ(captured_bytes(plays[0]), c.spec.data);
}

WavSpec spec_of(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::size_t bytes,
                std::vector<std::uint8_t> extra = {}) {
    WavSpec spec;
    spec.channels = channels;
    spec.rate = rate;
    spec.bits = bits;
    spec.data = testing_support::pattern_bytes(bytes);
    spec.extra_chunks = std::move(extra);
    return spec;
}

WavSpec extensible_of(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::size_t bytes) {
    WavSpec spec = spec_of(channels, rate, bits, bytes);
    spec.format_tag = 0xFFFE;
    spec.format_extension = testing_support::extensible_extension(bits, 1);
    return spec;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayerRing,
    ::testing::Values(RingCase{"Mono8Bit8k", spec_of(1, 8000, 8, 4000), 3, 1600},
                      RingCase{"Stereo16Bit44k", spec_of(2, 44100, 16, 88200), 3, 35280},
                      RingCase{"ShorterThanOneBuffer", spec_of(1, 8000, 8, 100), 1, 100},
                      RingCase{"OneByte", spec_of(1, 8000, 8, 1), 1, 1},
                      // More than the ring holds: buffers are refilled as they come back.
                      RingCase{"LongerThanTheRing", spec_of(1, 8000, 8, 16000), 10, 1600},
                      // As audio editors write them: metadata first, the sound far beyond offset 100.
                      RingCase{"ListChunkBeforeData", spec_of(1, 8000, 8, 2000, testing_support::list_chunk(3001)), 2,
                               1600},
                      RingCase{"ExtensiblePcm", extensible_of(2, 8000, 16, 12800), 2, 6400}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(Player, FileCutShortPlaysUpToItsEndAndNoFurther) {
    WavSpec spec;
    spec.data = testing_support::pattern_bytes(3000);
    spec.declared_length = 3040;  // within the file's size, past its end
    ASSERT_EQ(play(put("cut.wav", wav_bytes(spec))), CSoundWave::kPlaying);
    ASSERT_TRUE(ended());
    ASSERT_EQ(captures().size(), 1u);
    EXPECT_EQ(captured_bytes(captures()[0]), spec.data);
}

TEST_F(Player, PlayWhilePlayingIsRefusedAndTheFirstPlayGoesOn) {
    const auto file = mono8k(1.0);
    ASSERT_EQ(play(put("first.wav", file)), CSoundWave::kPlaying);
    EXPECT_TRUE(player_->IsOpen());
    EXPECT_EQ(play(put("second.wav", mono8k(0.1, 2))), CSoundWave::kAlreadyPlaying);
    ASSERT_TRUE(ended());
    ASSERT_EQ(captures().size(), 1u);
    EXPECT_EQ(captured_bytes(captures()[0]), data_of(file, 44, 8000));
}

TEST_F(Player, SilentStopReportsNothingAndReportedStopReportsTheEnd) {
    const auto path = put("long.wav", mono8k(3.0));
    ASSERT_EQ(play(path), CSoundWave::kPlaying);
    ASSERT_TRUE(sounding());
    stop(1);
    EXPECT_FALSE(ended(500));

    ASSERT_EQ(play(path), CSoundWave::kPlaying) << "a stopped player plays again";
    ASSERT_TRUE(sounding(2));
    stop(0);
    EXPECT_TRUE(ended());
    const auto plays = captures();
    ASSERT_EQ(plays.size(), 2u);
    for (const auto& entry : plays) EXPECT_LT(entry.bytes, 24000u) << "stopped before the end";
}

// Hands the player a message the way its own loop would, for a player that is idle.
class IdlePlayer : public CSoundWave {
public:
    using CSoundWave::CSoundWave;
    void Deliver(const ce::MSG& message) { OnThreadMessage(message); }
};

TEST_F(Player, LateSilentStopDoesNotSilenceTheNextPlay) {
    delete player_;
    auto* player = new IdlePlayer(owner_);
    player_ = player;
    ASSERT_TRUE(player->CreateThread());
    const auto path = put("short.wav", mono8k(0.1));
    ASSERT_EQ(play(path), CSoundWave::kPlaying);
    ASSERT_TRUE(ended());
    // One more request of an owner's stop loop, arriving after the close was reported.
    player->Deliver(ce::MSG{nullptr, WM_SOUND_ENDED, 0, 1, 0});
    ASSERT_EQ(play(path), CSoundWave::kPlaying);
    EXPECT_TRUE(ended()) << "the next play still reports its end";
}

// A player whose thread takes its time over the device's close report, as on a loaded
// machine: the owner's stop loop ends, and the replay starts, while the report is pending.
class SlowCloseReport : public CSoundWave {
public:
    using CSoundWave::CSoundWave;
    std::atomic<bool> slow{false};

protected:
    void OnThreadMessage(const ce::MSG& message) override {
        if (message.message == ce::MM_WOM_CLOSE && slow) std::this_thread::sleep_for(std::chrono::milliseconds(30));
        CSoundWave::OnThreadMessage(message);
    }
};

// The reminder's stop loop posts until the player is closed, so some requests arrive
// while the close is being reported and after it; the play started right after must
// neither be refused nor cut short by them, and its end must be reported.
TEST_F(Player, BurstOfStopsThenImmediateReplayPlaysTheReplayWhole) {
    delete player_;
    auto* player = new SlowCloseReport(owner_);
    player_ = player;
    ASSERT_TRUE(player->CreateThread());
    WavSpec stopped;  // told from the replays by its rate
    stopped.rate = 11025;
    stopped.data = testing_support::pattern_bytes(33075);
    const auto stopped_path = put("long.wav", wav_bytes(stopped));
    const auto replay = mono8k(0.05, 7);
    const auto replay_path = put("replay.wav", replay);
    constexpr int kRounds = 40;
    for (int round = 0; round < kRounds; ++round) {
        player->slow = round % 2 == 1;
        ASSERT_EQ(play(stopped_path), CSoundWave::kPlaying) << "round " << round;
        while (player_->IsOpen()) {
            for (int burst = 0; burst < 4; ++burst) player_->PostThreadMessage(WM_SOUND_ENDED, 0, 1);
            std::this_thread::yield();
        }
        ASSERT_EQ(play(replay_path), CSoundWave::kPlaying) << "round " << round;
        ASSERT_TRUE(ended()) << "round " << round << ": the replay reports its end";
    }
    int replays = 0;
    for (const auto& entry : captures()) {
        if (entry.format.nSamplesPerSec != 8000) continue;
        ++replays;
        EXPECT_EQ(captured_bytes(entry), data_of(replay, 44, 400)) << "replay " << replays;
    }
    EXPECT_EQ(replays, kRounds);
}

TEST_F(Player, PlaysAgainOnEveryEndReport) {
    const auto path = put("short.wav", mono8k(0.1));
    ASSERT_EQ(play(path), CSoundWave::kPlaying);
    for (int replay = 0; replay < 3; ++replay) {
        ASSERT_TRUE(ended());
        ASSERT_EQ(play(path), CSoundWave::kPlaying) << "replay " << replay;
    }
    ASSERT_TRUE(ended());
    EXPECT_EQ(captures().size(), 4u);
}

TEST_F(Player, VolumeIsSetOnEveryDeviceForBothChannels) {
    EXPECT_EQ(player_->SetVolume(0x1234), 0u);
    ce::DWORD volume = 0;
    ASSERT_EQ(ce::waveOutGetVolume(reinterpret_cast<ce::HWAVEOUT>(std::uintptr_t{0}), &volume), 0u);
    EXPECT_EQ(volume, 0x12341234u);
    ASSERT_EQ(play(put("v.wav", mono8k(0.05))), CSoundWave::kPlaying);
    player_->SetVolume(65535);
    ASSERT_TRUE(ended());
    ASSERT_EQ(ce::waveOutGetVolume(reinterpret_cast<ce::HWAVEOUT>(std::uintptr_t{0}), &volume), 0u);
    EXPECT_EQ(volume, 0xFFFFFFFFu);
}

TEST_F(Player, AllocatedDeviceIsTriedAgainThenRefused) {
    const auto format = pcm(8000, 1, 8);
    ce::HWAVEOUT holder = nullptr;
    ASSERT_EQ(ce::waveOutOpen(&holder, ce::WAVE_MAPPER, &format, 0, 0, ce::CALLBACK_NULL), 0u);
    const auto start = Clock::now();
    EXPECT_EQ(play(put("busy.wav", mono8k(0.1))), CSoundWave::kNoDevice);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(100)) << "eleven more tries, 10 ms apart";
    EXPECT_EQ(ce::waveOutClose(holder), 0u);
    EXPECT_EQ(play(put("busy.wav", mono8k(0.1))), CSoundWave::kPlaying);
    EXPECT_TRUE(ended());
}

TEST_F(Player, NullDeviceLetsTwoPlayersPlay) {
    use(host::AudioBackend::null);
    const auto format = pcm(8000, 1, 8);
    ce::HWAVEOUT holder = nullptr;
    ASSERT_EQ(ce::waveOutOpen(&holder, ce::WAVE_MAPPER, &format, 0, 0, ce::CALLBACK_NULL), 0u);
    EXPECT_EQ(play(put("shared.wav", mono8k(0.1))), CSoundWave::kPlaying);
    EXPECT_TRUE(ended());
    EXPECT_EQ(ce::waveOutClose(holder), 0u);
}

TEST_F(Player, DestroyedWhilePlayingClosesTheDeviceQuietly) {
    ASSERT_EQ(play(put("long.wav", mono8k(3.0))), CSoundWave::kPlaying);
    ASSERT_TRUE(sounding());
    delete player_;
    player_ = nullptr;
    EXPECT_FALSE(ended(300));
    ASSERT_EQ(captures().size(), 1u) << "the play was ended and logged";
    EXPECT_LT(captures()[0].bytes, 24000u);
    const ce::HANDLE writer = ce::CreateFileW(u"\\long.wav", ce::GENERIC_WRITE, 0, ce::OPEN_EXISTING);
    EXPECT_NE(writer, ce::INVALID_HANDLE_VALUE) << "the file is let go";
    ce::CloseHandle(writer);
}

TEST_F(Player, PlayedFileCannotBeChangedWhileItPlays) {
    const auto path = put("held.wav", mono8k(1.0));
    ASSERT_EQ(play(path), CSoundWave::kPlaying);
    EXPECT_EQ(ce::CreateFileW(path.c_str(), ce::GENERIC_WRITE, ce::FILE_SHARE_READ, ce::OPEN_EXISTING),
              ce::INVALID_HANDLE_VALUE);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_SHARING_VIOLATION);
    stop(1);
}

}  // namespace
