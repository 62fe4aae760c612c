#pragma once
// The reminder's beaming, on a thread of its own so that the reminder answers taps and
// keys while a long macro runs. Its end is posted to the reminder's window; an answer
// stops the remaining steps (the signal being sent goes out to its end).

#include <string>
#include <thread>

#include "ce/Types.h"

class ReminderBeaming {
public:
    ReminderBeaming() = default;
    ReminderBeaming(const ReminderBeaming&) = delete;
    ReminderBeaming& operator=(const ReminderBeaming&) = delete;
    // Stops the beaming and waits for the step under way (the program's end).
    ~ReminderBeaming() = default;

    // Beams `codebase`'s alarm macro, then posts `done` to `window`. Only when none runs.
    void Start(const std::string& codebase, ce::HWND window, ce::UINT done);
    // Asks for no further steps; the window does not wait for the one under way.
    void RequestStop() { worker_.request_stop(); }
    bool Running() const { return running_; }
    // The reminder took the end `done` reported.
    void Ended() { running_ = false; }

private:
    std::jthread worker_;
    bool running_ = false;
};
