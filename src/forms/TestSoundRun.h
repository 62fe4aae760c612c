#pragma once
// A sound test as the reminder plays it: the file `count` times at a volume of 1..10,
// with a pause between plays on the owner's timer 200. The player is the owner's: it
// reports each end of a play to the owner window with WM_SOUND_ENDED, and the owner
// hands that message and its timer on to OnSoundEnded and OnTimer. The sound form and
// the alarm form both run their tests through this; each keeps its own buttons.

#include <memory>
#include <string>

#include "ce/Messages.h"

class CSoundWave;
class CWnd;

class TestSoundRun {
public:
    static constexpr ce::UINT_PTR kPauseTimer = 200;

    // What the owner does next after a step of the run.
    enum class Step {
        NotMine,  // the timer was not the pause timer
        Going,    // the run goes on: a play or a pause is under way
        Over,     // the last play has ended, or a play was refused: end the test (Stop)
    };

    explicit TestSoundRun(CWnd& owner);
    TestSoundRun(const TestSoundRun&) = delete;
    TestSoundRun& operator=(const TestSoundRun&) = delete;
    ~TestSoundRun();

    // Makes the player for the owner and starts its thread, unless there is one; false
    // when the thread cannot be started. The program has one player: the run that had
    // it until now (another form's) loses it first.
    bool CreatePlayer();
    // Stops the player silently, waits until it has closed, and deletes it.
    void DestroyPlayer();
    bool HasPlayer() const { return player_ != nullptr; }
    // The player is playing (its device is open).
    bool IsPlayerOpen() const;

    // Starts playing `path` `count` times (plays below 1 count as 1) with `pause_seconds`
    // between the plays, at `volume` 1..10 (volume * 65535 / 10 on the device); stops a
    // play that is still going first and makes the player when there is none. Returns
    // the player's code for the first play (CSoundWave::kPlaying, or why it refused).
    ce::DWORD Start(const std::u16string& path, int volume, int count, int pause_seconds);
    // The owner's WM_SOUND_ENDED: one play fewer to come; the next one now or after the pause.
    Step OnSoundEnded();
    // The owner's WM_TIMER: the pause is over, the next play starts.
    Step OnTimer(ce::UINT_PTR id);
    // Ends the run: the pause timer goes, the player stops silently and is waited for.
    void Stop();
    // Stops a play that is going, silently, and waits, yielding, until the device has closed.
    void StopPlayer();

    int PlaysLeft() const { return plays_left_; }
    bool IsPausing() const { return pause_running_; }
    // The player's code for the last play asked for.
    ce::DWORD LastResult() const { return last_result_; }

private:
    Step PlayAgain();

    CWnd& owner_;
    std::unique_ptr<CSoundWave> player_;
    std::u16string path_;
    int plays_left_ = 0;
    int pause_seconds_ = 0;
    bool pause_running_ = false;
    ce::DWORD last_result_ = 0;
};
