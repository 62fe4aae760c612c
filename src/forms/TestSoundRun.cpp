#include "forms/TestSoundRun.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "framework/CWnd.h"
#include "sound/CSoundWave.h"

namespace {

// A stop request the player does not answer within this long is given up on: the
// player would have reported its close long before.
constexpr auto kStopPatience = std::chrono::milliseconds(CSoundWave::kCloseWaitMilliseconds);

constexpr ce::DWORD kFullVolume = 65535;

}  // namespace

TestSoundRun::TestSoundRun(CWnd& owner) : owner_(owner) {}

TestSoundRun::~TestSoundRun() { DestroyPlayer(); }

bool TestSoundRun::CreatePlayer() {
    if (player_ != nullptr) return true;
    auto player = std::make_unique<CSoundWave>(owner_.GetSafeHwnd());
    if (player->CreateThread() == ce::FALSE) return false;
    player_ = std::move(player);
    return true;
}

void TestSoundRun::DestroyPlayer() {
    if (player_ == nullptr) return;
    Stop();
    player_.reset();
}

bool TestSoundRun::IsPlayerOpen() const { return player_ != nullptr && player_->IsOpen() != ce::FALSE; }

void TestSoundRun::StopPlayer() {
    if (player_ == nullptr) return;
    // The request is posted again while the player is still open: one posted while a
    // play was being started may have been meant for the play before.
    const auto until = std::chrono::steady_clock::now() + kStopPatience;
    while (player_->IsOpen() != ce::FALSE && std::chrono::steady_clock::now() < until) {
        player_->PostThreadMessage(WM_SOUND_ENDED, 0, 1);
        std::this_thread::yield();
    }
}

ce::DWORD TestSoundRun::Start(const std::u16string& path, int volume, int count, int pause_seconds) {
    StopPlayer();
    if (pause_running_) owner_.KillTimer(kPauseTimer);
    pause_running_ = false;
    path_ = path;
    plays_left_ = count < 1 ? 1 : count;
    pause_seconds_ = pause_seconds;
    if (!CreatePlayer()) {
        last_result_ = CSoundWave::kNoDevice;
        return last_result_;
    }
    player_->SetVolume(static_cast<ce::DWORD>(std::clamp(volume, 0, 10)) * kFullVolume / 10);
    last_result_ = player_->Play(path_.c_str());
    return last_result_;
}

TestSoundRun::Step TestSoundRun::OnSoundEnded() {
    if (--plays_left_ < 1) {
        plays_left_ = 0;
        return Step::Over;
    }
    if (pause_seconds_ > 0) {
        owner_.SetTimer(kPauseTimer, static_cast<ce::UINT>(pause_seconds_) * 1000);
        pause_running_ = true;
        return Step::Going;
    }
    return PlayAgain();
}

TestSoundRun::Step TestSoundRun::OnTimer(ce::UINT_PTR id) {
    if (id != kPauseTimer) return Step::NotMine;
    owner_.KillTimer(kPauseTimer);
    pause_running_ = false;
    if (player_ == nullptr || plays_left_ <= 0 || path_.empty()) return Step::Going;
    return PlayAgain();
}

// A play refused now (the file went away during the pause) would never report an end:
// the run is over rather than waiting for good.
TestSoundRun::Step TestSoundRun::PlayAgain() {
    last_result_ = player_->Play(path_.c_str());
    return last_result_ == CSoundWave::kPlaying ? Step::Going : Step::Over;
}

void TestSoundRun::Stop() {
    if (pause_running_) owner_.KillTimer(kPauseTimer);
    pause_running_ = false;
    StopPlayer();
    plays_left_ = 0;
}
