#pragma once
// Shared by the wave output tests: a fresh handheld with a chosen back-end, whose test
// thread receives the device's reports.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <vector>

#include "TempDevice.h"
#include "ce/Wave.h"
#include "host/wave/AudioSettings.h"
#include "host/wave/CaptureLog.h"

namespace wave_tests {

inline constexpr ce::DWORD kPatienceMs = 15000;

inline ce::WAVEFORMATEX pcm(ce::DWORD rate, ce::WORD channels, ce::WORD bits) {
    ce::WAVEFORMATEX format;
    format.wFormatTag = ce::WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = bits;
    format.nBlockAlign = static_cast<ce::WORD>(channels * bits / 8);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    return format;
}

inline void drain_messages() {
    ce::MSG message;
    while (ce::PeekMessageW(&message, nullptr, 0, 0, ce::PM_REMOVE)) {
    }
}

// The next message of this thread within `ms`, or WM_NULL.
inline ce::MSG next_message(ce::DWORD ms = kPatienceMs) {
    ce::MSG message;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        if (ce::PeekMessageW(&message, nullptr, 0, 0, ce::PM_REMOVE)) return message;
        ce::MsgWaitForMultipleObjects(0, nullptr, ce::FALSE, 20, ce::QS_ALLINPUT);
    } while (std::chrono::steady_clock::now() < until);
    return ce::MSG{};
}

// The next message other than those listed.
inline ce::MSG next_message_except(ce::UINT skipped, ce::DWORD ms = kPatienceMs) {
    while (true) {
        const ce::MSG message = next_message(ms);
        if (message.message != skipped) return message;
    }
}

inline std::vector<std::uint8_t> read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The captured plays, parsed.
inline std::vector<host::CaptureEntry> captures() {
    std::vector<host::CaptureEntry> entries;
    for (const auto& line : host::CaptureLog::lines())
        if (auto entry = host::CaptureLog::parse(line)) entries.push_back(*entry);
    return entries;
}

// The sound bytes of a captured play (after its 44-byte header, without a pad byte).
inline std::vector<std::uint8_t> captured_bytes(const host::CaptureEntry& entry) {
    auto bytes = read_file(host::CaptureLog::folder().parent_path() / entry.file);
    if (bytes.size() < 44) return {};
    bytes.erase(bytes.begin(), bytes.begin() + 44);
    bytes.resize(std::min<std::size_t>(bytes.size(), entry.bytes));
    return bytes;
}

class WaveDevice : public testing_support::TempDevice {
protected:
    void use(host::AudioBackend backend) {
        ASSERT_TRUE(host::AudioSettings::set_backend(backend));
        drain_messages();
    }
};

}  // namespace wave_tests
