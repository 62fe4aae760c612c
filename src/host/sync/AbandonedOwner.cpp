#include "host/sync/AbandonedOwner.h"

#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace host {

namespace {

constexpr unsigned long kExitingFlag = 0x4;                  // PF_EXITING in the thread's flags
constexpr unsigned long long kKillPending = 1ULL << (9 - 1);  // SIGKILL in a pending-signal mask

std::filesystem::path task_dir(pid_t process) { return "/proc/" + std::to_string(process) + "/task"; }

std::string read_text(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The one-letter state and the flags word of /proc/PID/task/TID/stat; the name before
// them is in parentheses and may hold anything, so fields are counted from its end.
bool read_stat(const std::filesystem::path& file, char* state, unsigned long* flags) {
    const std::string text = read_text(file);
    const auto name_end = text.rfind(')');
    if (name_end == std::string::npos) return false;
    std::istringstream fields(text.substr(name_end + 1));
    std::string skipped;
    fields >> *state;
    // ppid, pgrp, session, tty_nr, tpgid, then flags.
    for (int field = 0; field < 5; ++field) fields >> skipped;
    fields >> *flags;
    return !fields.fail();
}

unsigned long long pending_signals(const std::filesystem::path& status_file) {
    std::istringstream lines(read_text(status_file));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.starts_with("SigPnd:")) continue;
        const auto digits = line.find_first_not_of(" \t", 7);
        unsigned long long mask = 0;
        if (digits != std::string::npos) std::from_chars(line.data() + digits, line.data() + line.size(), mask, 16);
        return mask;
    }
    return 0;
}

}  // namespace

bool AbandonedOwner::thread_ending(pid_t process, pid_t thread) {
    const auto dir = task_dir(process) / std::to_string(thread);
    char state = 0;
    unsigned long flags = 0;
    if (!read_stat(dir / "stat", &state, &flags)) return false;  // gone already
    // A zombie has closed its files; a thread about to exit has not yet.
    if (state == 'Z' || state == 'X') return false;
    return (flags & kExitingFlag) != 0 || (pending_signals(dir / "status") & kKillPending) != 0;
}

bool AbandonedOwner::ending(pid_t process) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(task_dir(process), error)) {
        pid_t thread = 0;
        const std::string name = entry.path().filename().string();
        std::from_chars(name.data(), name.data() + name.size(), thread);
        if (thread > 0 && thread_ending(process, thread)) return true;
    }
    return false;
}

void AbandonedOwner::wait_for_release(const MutexOwner& owner, std::chrono::milliseconds limit) {
    // A thread of this process keeps nothing from the others: its files are still ours.
    if (owner.process <= 0 || owner.process == getpid()) return;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    // Exit takes a few milliseconds at most; there is nothing to be woken by when it is done.
    while (ending(owner.process) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::microseconds(500));
}

}  // namespace host
