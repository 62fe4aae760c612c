#pragma once
// A player on a fresh handheld whose wave output is captured, owned by a message-only
// window of the test thread.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <string>
#include <vector>

#include "../host/wave/WaveTesting.h"
#include "WavFile.h"
#include "ce/Text.h"
#include "sound/CSoundWave.h"

namespace sound_tests {

using namespace wave_tests;

class Player : public WaveDevice {
protected:
    void SetUp() override {
        WaveDevice::SetUp();
        use(host::AudioBackend::capture);
        owner_ = ce::CreateWindowExW(0, u"test", u"", 0, 0, 0, 0, 0, ce::HWND_MESSAGE, nullptr, nullptr, nullptr);
        player_ = new CSoundWave(owner_);
        ASSERT_TRUE(player_->CreateThread());
    }
    void TearDown() override {
        delete player_;
        ce::DestroyWindow(owner_);
        drain_messages();
        WaveDevice::TearDown();
    }

    // Writes the file onto the handheld; returns its device path.
    std::u16string put(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream(host_path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return u"\\" + ce::utf16_from_utf8(name);
    }
    ce::DWORD play(const std::u16string& path) { return player_->Play(path.c_str()); }

    // Whether the owner was told of an end within `ms`.
    bool ended(ce::DWORD ms = kPatienceMs) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        ce::MSG message;
        do {
            while (ce::PeekMessageW(&message, owner_, 0, 0, ce::PM_REMOVE))
                if (message.message == WM_SOUND_ENDED && message.lParam == 0) return true;
            ce::MsgWaitForMultipleObjects(0, nullptr, ce::FALSE, 10, ce::QS_ALLINPUT);
        } while (std::chrono::steady_clock::now() < until);
        return false;
    }
    // Waits until `plays` captures hold some sound, so that a stop comes mid-play.
    static bool sounding(std::size_t plays = 1) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
        do {
            std::error_code error;
            std::size_t with_sound = 0;
            for (const auto& entry : std::filesystem::directory_iterator(host::CaptureLog::folder(), error))
                if (entry.file_size(error) > 44) ++with_sound;
            if (with_sound >= plays) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        } while (std::chrono::steady_clock::now() < until);
        return false;
    }
    // Stops as the reminder does: post the request, yield until the player is closed.
    void stop(ce::LPARAM lParam) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
        while (player_->IsOpen() && std::chrono::steady_clock::now() < until) {
            player_->PostThreadMessage(WM_SOUND_ENDED, 0, lParam);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_FALSE(player_->IsOpen());
    }

    ce::HWND owner_ = nullptr;
    CSoundWave* player_ = nullptr;
};

// `seconds` of 8-bit mono 8000 Hz sound.
inline std::vector<std::uint8_t> mono8k(double seconds, std::uint32_t seed = 1) {
    testing_support::WavSpec spec;
    spec.data = testing_support::pattern_bytes(static_cast<std::size_t>(seconds * 8000), seed);
    return testing_support::wav_bytes(spec);
}

}  // namespace sound_tests
