#include "alert/ReminderBeaming.h"

#include "alert/AlarmBeaming.h"
#include "ce/Messages.h"

void ReminderBeaming::Start(const std::string& codebase, ce::HWND window, ce::UINT done) {
    if (worker_.joinable()) worker_.join();  // it has posted its end, and is over
    running_ = true;
    worker_ = std::jthread([codebase, window, done](std::stop_token stop) {
        AlarmBeaming::Beam(codebase, stop);
        ce::PostMessageW(window, done, 0, 0);
    });
}
