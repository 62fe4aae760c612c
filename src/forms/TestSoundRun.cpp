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

// The run whose player is the program's one player: a form that makes its player takes
// it over from the form that had it (the alarm form's, kept after Test Actions, when
// the sound form opens), so the program never has two.
TestSoundRun* g_player_holder = nullptr;

}  // namespace

TestSoundRun::TestSoundRun(CWnd& owner) : owner_(owner) {}

TestSoundRun::~TestSoundRun() { DestroyPlayer(); }

bool TestSoundRun::CreatePlayer() {
    if (player_ != nullptr) return true;
    if (g_player_holder != nullptr) g_player_holder->DestroyPlayer();
    auto player = std::make_unique<CSoundWave>(owner_.GetSafeHwnd());
    if (player->CreateThread() == ce::FALSE) return false;
    player_ = std::move(player);
    g_player_holder = this;
    return true;
}

void TestSoundRun::DestroyPlayer() {
    if (player_ == nullptr) return;
    Stop();
    player_.reset();
    if (g_player_holder == this) g_player_holder = nullptr;
}

bool TestSoundRun::IsPlayerOpen() const { return player_ != nullptr && player_->IsOpen() != ce::FALSE; }

void TestSoundRun::StopPlayer() {
    if (player_ == nullptr) return;
    // One request: it queues behind the start of the play now going, so the player takes
    // it for that play; posting it again at every turn would only fill its queue.
    if (player_->IsOpen() == ce::FALSE) return;
    player_->PostThreadMessage(WM_SOUND_ENDED, 0, 1);
    const auto until = std::chrono::steady_clock::now() + kStopPatience;
    while (player_->IsOpen() != ce::FALSE && std::chrono::steady_clock::now() < until) std::this_thread::yield();
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
