// The handheld's wave output as the player uses it: queued headers played in order at
// the real rate, reports to the opener's thread, pause, reset and close, exclusivity
// per back-end, the device volume, and what the capture back-end keeps.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "HungOpenFile.h"
#include "WavFile.h"
#include "WaveTesting.h"

namespace {

using namespace wave_tests;
using Clock = std::chrono::steady_clock;

ce::DWORD_PTR this_thread() { return static_cast<ce::DWORD_PTR>(ce::GetCurrentThreadId()); }

class WaveOut : public WaveDevice {
protected:
    void SetUp() override {
        WaveDevice::SetUp();
        use(host::AudioBackend::capture);
    }
    void TearDown() override {
        if (device_ != nullptr) {
            ce::waveOutReset(device_);
            ce::waveOutClose(device_);
        }
        drain_messages();
        WaveDevice::TearDown();
    }

    ce::MMRESULT open(const ce::WAVEFORMATEX& format) {
        return ce::waveOutOpen(&device_, ce::WAVE_MAPPER, &format, this_thread(), 0, ce::CALLBACK_THREAD);
    }
    // Opens 8-bit mono at `rate` and expects the open report.
    void open_mono(ce::DWORD rate) {
        ASSERT_EQ(open(pcm(rate, 1, 8)), ce::MMSYSERR_NOERROR);
        const ce::MSG opened = next_message();
        ASSERT_EQ(opened.message, ce::MM_WOM_OPEN);
        EXPECT_EQ(opened.wParam, reinterpret_cast<ce::WPARAM>(device_));
    }
    ce::WAVEHDR* header(std::vector<std::uint8_t>& bytes) {
        headers_.push_back(std::make_unique<ce::WAVEHDR>());
        ce::WAVEHDR* made = headers_.back().get();
        made->lpData = reinterpret_cast<char*>(bytes.data());
        made->dwBufferLength = static_cast<ce::DWORD>(bytes.size());
        EXPECT_EQ(ce::waveOutPrepareHeader(device_, made, sizeof(ce::WAVEHDR)), ce::MMSYSERR_NOERROR);
        return made;
    }
    void close() {
        ASSERT_EQ(ce::waveOutClose(device_), ce::MMSYSERR_NOERROR);
        const ce::MSG closed = next_message_except(ce::MM_WOM_DONE);
        EXPECT_EQ(closed.message, ce::MM_WOM_CLOSE);
        EXPECT_EQ(closed.wParam, reinterpret_cast<ce::WPARAM>(device_));
        device_ = nullptr;
    }

    ce::HWAVEOUT device_ = nullptr;
    std::vector<std::unique_ptr<ce::WAVEHDR>> headers_;
};

TEST_F(WaveOut, PlaysHeadersInOrderReportsEachAndCapturesTheBytesExactly) {
    open_mono(8000);
    std::vector<std::vector<std::uint8_t>> buffers{testing_support::pattern_bytes(400, 1),
                                                   testing_support::pattern_bytes(801, 2),
                                                   testing_support::pattern_bytes(200, 3)};
    std::vector<ce::WAVEHDR*> written;
    for (auto& bytes : buffers) {
        written.push_back(header(bytes));
        ASSERT_EQ(ce::waveOutWrite(device_, written.back(), sizeof(ce::WAVEHDR)), ce::MMSYSERR_NOERROR);
    }
    for (ce::WAVEHDR* expected : written) {
        const ce::MSG done = next_message();
        ASSERT_EQ(done.message, ce::MM_WOM_DONE);
        EXPECT_EQ(done.lParam, reinterpret_cast<ce::LPARAM>(expected));
        EXPECT_EQ(expected->dwFlags & (ce::WHDR_DONE | ce::WHDR_INQUEUE | ce::WHDR_PREPARED),
                  ce::WHDR_DONE | ce::WHDR_PREPARED);
    }
    for (ce::WAVEHDR* each : written) EXPECT_EQ(ce::waveOutUnprepareHeader(device_, each, sizeof(ce::WAVEHDR)), 0u);
    close();

    const auto plays = captures();
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].bytes, 1401u);
    EXPECT_EQ(plays[0].buffers, 3u);
    EXPECT_EQ(plays[0].largest_buffer, 801u);
    EXPECT_EQ(plays[0].format.nSamplesPerSec, 8000u);
    std::vector<std::uint8_t> all;
    for (const auto& bytes : buffers) all.insert(all.end(), bytes.begin(), bytes.end());
    EXPECT_EQ(captured_bytes(plays[0]), all);
    const auto file = read_file(host::CaptureLog::folder().parent_path() / plays[0].file);
    EXPECT_EQ(file.size(), 44u + 1401u + 1u) << "an odd data chunk is padded";
    EXPECT_EQ(std::memcmp(file.data(), "RIFF", 4), 0);
}

TEST_F(WaveOut, KeepsTheFormatsRealRate) {
    open_mono(8000);
    auto bytes = testing_support::pattern_bytes(8000);  // one second
    const auto start = Clock::now();
    ASSERT_EQ(ce::waveOutWrite(device_, header(bytes), sizeof(ce::WAVEHDR)), 0u);
    ASSERT_EQ(next_message().message, ce::MM_WOM_DONE);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(900));
    close();
}

TEST_F(WaveOut, PausedDeviceHoldsItsBuffersUntilRestarted) {
    open_mono(8000);
    ASSERT_EQ(ce::waveOutPause(device_), 0u);
    auto bytes = testing_support::pattern_bytes(400);  // 50 ms
    ASSERT_EQ(ce::waveOutWrite(device_, header(bytes), sizeof(ce::WAVEHDR)), 0u);
    EXPECT_EQ(next_message(500).message, ce::WM_NULL) << "nothing plays while paused";
    ASSERT_EQ(ce::waveOutRestart(device_), 0u);
    EXPECT_EQ(next_message().message, ce::MM_WOM_DONE);
    close();
}

TEST_F(WaveOut, ResetReturnsEveryQueuedHeaderDoneInOrderAndStopsTheSound) {
    open_mono(8000);
    std::vector<std::vector<std::uint8_t>> buffers(3, testing_support::pattern_bytes(8000));
    std::vector<ce::WAVEHDR*> written;
    for (auto& bytes : buffers) {
        written.push_back(header(bytes));
        ASSERT_EQ(ce::waveOutWrite(device_, written.back(), sizeof(ce::WAVEHDR)), 0u);
    }
    EXPECT_EQ(ce::waveOutClose(device_), ce::WAVERR_STILLPLAYING);
    EXPECT_EQ(ce::waveOutUnprepareHeader(device_, written[1], sizeof(ce::WAVEHDR)), ce::WAVERR_STILLPLAYING);
    ASSERT_EQ(ce::waveOutReset(device_), 0u);
    for (ce::WAVEHDR* expected : written) {
        const ce::MSG done = next_message();
        ASSERT_EQ(done.message, ce::MM_WOM_DONE);
        EXPECT_EQ(done.lParam, reinterpret_cast<ce::LPARAM>(expected));
    }
    close();
    const auto plays = captures();
    if (!plays.empty()) {
        EXPECT_LT(plays[0].bytes, 24000u) << "what was queued after the reset is not played";
    }
}

TEST_F(WaveOut, RefusesHeadersUsedOutOfTurnAndStaleHandles) {
    open_mono(8000);
    ce::WAVEHDR unprepared;
    std::vector<std::uint8_t> bytes(100);
    unprepared.lpData = reinterpret_cast<char*>(bytes.data());
    unprepared.dwBufferLength = 100;
    EXPECT_EQ(ce::waveOutWrite(device_, &unprepared, sizeof unprepared), ce::WAVERR_UNPREPARED);
    EXPECT_EQ(ce::waveOutWrite(device_, nullptr, sizeof unprepared), ce::MMSYSERR_INVALPARAM);
    EXPECT_EQ(ce::waveOutPrepareHeader(device_, &unprepared, 4), ce::MMSYSERR_INVALPARAM) << "a short header size";
    const ce::HWAVEOUT stale = device_;
    close();
    EXPECT_EQ(ce::waveOutWrite(stale, &unprepared, sizeof unprepared), ce::MMSYSERR_INVALHANDLE);
    EXPECT_EQ(ce::waveOutClose(stale), ce::MMSYSERR_INVALHANDLE);
    EXPECT_EQ(ce::waveOutReset(stale), ce::MMSYSERR_INVALHANDLE);
}

struct OpenCase {
    const char* name;
    ce::WAVEFORMATEX format;
    ce::UINT device;
    ce::DWORD flags;
    ce::MMRESULT expected;
};

void PrintTo(const OpenCase& row, std::ostream* out) { *out << row.name; }

ce::WAVEFORMATEX changed(ce::WAVEFORMATEX format, void (*change)(ce::WAVEFORMATEX&)) {
    change(format);
    return format;
}

class WaveOutOpen : public WaveOut, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(WaveOutOpen, RefusesWhatTheDeviceCannotDo) {
    const OpenCase& c = GetParam();
    EXPECT_EQ(ce::waveOutOpen(&device_, c.device, &c.format, this_thread(), 0, c.flags), c.expected);
    if (c.expected != ce::MMSYSERR_NOERROR || (c.flags & ce::WAVE_FORMAT_QUERY) != 0) device_ = nullptr;
}

const ce::WAVEFORMATEX kGood = pcm(44100, 2, 16);

INSTANTIATE_TEST_SUITE_P(
    Cases, WaveOutOpen,
    ::testing::Values(
        OpenCase{"NotPcm", changed(kGood, [](ce::WAVEFORMATEX& f) { f.wFormatTag = 0xFFFE; }), ce::WAVE_MAPPER,
                 ce::CALLBACK_THREAD, ce::WAVERR_BADFORMAT},
        OpenCase{"NoChannels", pcm(8000, 0, 8), ce::WAVE_MAPPER, ce::CALLBACK_THREAD, ce::WAVERR_BADFORMAT},
        OpenCase{"NineChannels", pcm(8000, 9, 8), ce::WAVE_MAPPER, ce::CALLBACK_THREAD, ce::WAVERR_BADFORMAT},
        OpenCase{"TwelveBits", pcm(8000, 1, 12), ce::WAVE_MAPPER, ce::CALLBACK_THREAD, ce::WAVERR_BADFORMAT},
        OpenCase{"NoRate", pcm(0, 1, 8), ce::WAVE_MAPPER, ce::CALLBACK_THREAD, ce::WAVERR_BADFORMAT},
        OpenCase{"WrongBlock", changed(kGood, [](ce::WAVEFORMATEX& f) { f.nBlockAlign = 2; }), ce::WAVE_MAPPER,
                 ce::CALLBACK_THREAD, ce::WAVERR_BADFORMAT},
        OpenCase{"WrongByteRate", changed(kGood, [](ce::WAVEFORMATEX& f) { f.nAvgBytesPerSec += 1; }),
                 ce::WAVE_MAPPER, ce::CALLBACK_THREAD, ce::WAVERR_BADFORMAT},
        OpenCase{"SecondDevice", kGood, 1, ce::CALLBACK_THREAD, ce::MMSYSERR_BADDEVICEID},
        OpenCase{"FunctionCallback", kGood, 0, ce::CALLBACK_FUNCTION, ce::MMSYSERR_INVALFLAG},
        OpenCase{"QueryGood", kGood, 0, ce::WAVE_FORMAT_QUERY, ce::MMSYSERR_NOERROR},
        OpenCase{"QueryBad", pcm(8000, 1, 12), 0, ce::WAVE_FORMAT_QUERY, ce::WAVERR_BADFORMAT},
        OpenCase{"DeviceZero", pcm(4, 1, 8), 0, ce::CALLBACK_THREAD, ce::MMSYSERR_NOERROR}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(WaveOut, ReportsToAWindowWhenAskedTo) {
    const ce::HWND window =
        ce::CreateWindowExW(0, u"t", u"", 0, 0, 0, 0, 0, ce::HWND_MESSAGE, nullptr, nullptr, nullptr);
    const auto format = pcm(8000, 1, 8);
    EXPECT_EQ(ce::waveOutOpen(&device_, 0, &format, 0x4321, 0, ce::CALLBACK_WINDOW), ce::MMSYSERR_INVALPARAM);
    ASSERT_EQ(ce::waveOutOpen(&device_, 0, &format, reinterpret_cast<ce::DWORD_PTR>(window), 0, ce::CALLBACK_WINDOW),
              0u);
    EXPECT_EQ(next_message().hwnd, window);
    auto bytes = testing_support::pattern_bytes(80);
    ASSERT_EQ(ce::waveOutWrite(device_, header(bytes), sizeof(ce::WAVEHDR)), 0u);
    const ce::MSG done = next_message();
    EXPECT_EQ(done.message, ce::MM_WOM_DONE);
    EXPECT_EQ(done.hwnd, window);
    close();
    ce::DestroyWindow(window);
}

TEST_F(WaveOut, CaptureDeviceIsHeldByOneOpenerAtATime) {
    open_mono(8000);
    ce::HWAVEOUT second = nullptr;
    const auto format = pcm(8000, 1, 8);
    EXPECT_EQ(ce::waveOutOpen(&second, ce::WAVE_MAPPER, &format, this_thread(), 0, ce::CALLBACK_THREAD),
              ce::MMSYSERR_ALLOCATED);
    close();
    ASSERT_EQ(ce::waveOutOpen(&second, ce::WAVE_MAPPER, &format, this_thread(), 0, ce::CALLBACK_THREAD), 0u)
        << "free again once closed";
    EXPECT_EQ(ce::waveOutClose(second), 0u);
    EXPECT_TRUE(captures().empty()) << "opens without sound leave no capture";
}

TEST_F(WaveOut, NullDeviceIsSharedAndKeepsNothing) {
    use(host::AudioBackend::null);
    open_mono(8000);
    ce::HWAVEOUT second = nullptr;
    const auto format = pcm(8000, 1, 8);
    ASSERT_EQ(ce::waveOutOpen(&second, ce::WAVE_MAPPER, &format, this_thread(), 0, ce::CALLBACK_THREAD), 0u);
    auto bytes = testing_support::pattern_bytes(80);
    ASSERT_EQ(ce::waveOutWrite(second, header(bytes), sizeof(ce::WAVEHDR)), 0u);
    EXPECT_EQ(next_message_except(ce::MM_WOM_OPEN).message, ce::MM_WOM_DONE);
    EXPECT_EQ(ce::waveOutClose(second), 0u);
    EXPECT_EQ(next_message().message, ce::MM_WOM_CLOSE);
    close();
    EXPECT_TRUE(captures().empty());
}

TEST_F(WaveOut, VolumeBelongsToTheDeviceAndIsKeptByTheHandheld) {
    auto* const device_zero = reinterpret_cast<ce::HWAVEOUT>(std::uintptr_t{0});
    ASSERT_EQ(ce::waveOutSetVolume(device_zero, 0x40008000), 0u);
    EXPECT_EQ(host::AudioSettings::volume(0), 0x40008000u);
    open_mono(8000);
    ce::DWORD volume = 0;
    ASSERT_EQ(ce::waveOutGetVolume(device_, &volume), 0u);
    EXPECT_EQ(volume, 0x40008000u) << "the open handle plays at the device's volume";
    EXPECT_EQ(ce::waveOutSetVolume(reinterpret_cast<ce::HWAVEOUT>(std::uintptr_t{1}), 0), ce::MMSYSERR_INVALHANDLE);
    EXPECT_EQ(ce::waveOutGetVolume(device_, nullptr), ce::MMSYSERR_INVALPARAM);
    auto bytes = testing_support::pattern_bytes(80);
    ASSERT_EQ(ce::waveOutWrite(device_, header(bytes), sizeof(ce::WAVEHDR)), 0u);
    ASSERT_EQ(next_message().message, ce::MM_WOM_DONE);
    close();
    ASSERT_EQ(captures().size(), 1u);
    EXPECT_EQ(captures()[0].volume, 0x40008000u);
    EXPECT_EQ(captured_bytes(captures()[0]), bytes) << "the capture keeps the bytes as queued";

    // Another program of the handheld turns the volume down: the next open plays with it.
    ASSERT_TRUE(host::AudioSettings::set_volume(0, 0x00010001));
    open_mono(8000);
    ASSERT_EQ(ce::waveOutWrite(device_, header(bytes), sizeof(ce::WAVEHDR)), 0u);
    ASSERT_EQ(next_message().message, ce::MM_WOM_DONE);
    close();
    ASSERT_EQ(captures().size(), 2u);
    EXPECT_EQ(captures()[1].volume, 0x00010001u);
}

TEST_F(WaveOut, AlsaBackendPlaysThroughAnAlsaDevice) {
    use(host::AudioBackend::alsa);
    ASSERT_TRUE(host::AudioSettings::set_alsa_pcm("null"));
    ASSERT_TRUE(host::AudioSettings::set_volume(0, 0x80008000));
    ASSERT_EQ(open(pcm(48000, 2, 16)), 0u);
    ASSERT_EQ(next_message().message, ce::MM_WOM_OPEN);
    std::vector<std::vector<std::uint8_t>> buffers(2, testing_support::pattern_bytes(19200));
    for (auto& bytes : buffers) ASSERT_EQ(ce::waveOutWrite(device_, header(bytes), sizeof(ce::WAVEHDR)), 0u);
    EXPECT_EQ(next_message().message, ce::MM_WOM_DONE);
    EXPECT_EQ(next_message().message, ce::MM_WOM_DONE);
    EXPECT_EQ(buffers[0], testing_support::pattern_bytes(19200)) << "the volume is applied to a copy";
    close();

    ASSERT_TRUE(host::AudioSettings::set_alsa_pcm("kivo-no-such-device"));
    const ce::MMRESULT missing = open(pcm(48000, 2, 16));
    EXPECT_NE(missing, ce::MMSYSERR_NOERROR);
    EXPECT_NE(missing, ce::MMSYSERR_ALLOCATED) << "a missing device is not a busy one";
    device_ = nullptr;
}

// An alarm's sound through a sound device that takes the open and never answers: the
// play is refused as busy within the deadline, and the log names the device.
TEST_F(WaveOut, AlsaDeviceThatDoesNotAnswerIsGivenUpAfterItsDeadline) {
    use(host::AudioBackend::alsa);
    const testing_support::HungOpenFile hung(device_root() / "hung.raw");
    ASSERT_TRUE(hung.hangs()) << "the file system lends no lease";
    const std::string pcm_name = "file:FILE=" + hung.path().string() + ",FORMAT=raw";
    ASSERT_TRUE(host::AudioSettings::set_alsa_pcm(pcm_name));
    const auto start = Clock::now();
    EXPECT_EQ(open(pcm(48000, 2, 16)), ce::MMSYSERR_ALLOCATED);
    const auto waited = Clock::now() - start;
    device_ = nullptr;
    EXPECT_LT(waited, std::chrono::seconds(10)) << "the device is held for 45 s";
    std::ifstream log(device_root() / "log" / "alsa.log");
    const std::string logged(std::istreambuf_iterator<char>(log), {});
    EXPECT_NE(logged.find("the ALSA device " + pcm_name + " did not open within"), std::string::npos) << logged;
}

}  // namespace
