#include "host/process/ChildExit.h"

#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <unordered_map>

namespace host {

namespace {

// The children still running, so that any handle opened on one shares its exit.
std::mutex g_children_lock;
std::unordered_map<pid_t, std::shared_ptr<ChildExit>>& children() {
    static auto* running = new std::unordered_map<pid_t, std::shared_ptr<ChildExit>>;  // outlives reaper threads
    return *running;
}

}  // namespace

std::shared_ptr<ChildExit> ChildExit::of(pid_t pid) {
    std::lock_guard guard(g_children_lock);
    const auto found = children().find(pid);
    return found == children().end() ? nullptr : found->second;
}

std::shared_ptr<ChildExit> ChildExit::watch(pid_t pid) {
    auto exit = std::make_shared<ChildExit>();
    {
        std::lock_guard guard(g_children_lock);
        children()[pid] = exit;
    }
    std::thread([pid, exit] {
        int status = 0;
        pid_t reaped;
        do {
            reaped = waitpid(pid, &status, 0);
        } while (reaped < 0 && errno == EINTR);
        {
            std::lock_guard guard(g_children_lock);
            children().erase(pid);
        }
        // Reaped elsewhere (a caller's own waitpid): it ended, how is not known.
        exit->set(reaped == pid ? status : 0);
    }).detach();
    return exit;
}

void ChildExit::set(int status) {
    {
        std::lock_guard guard(lock_);
        status_ = status;
    }
    ended_.notify_all();
}

bool ChildExit::wait(ce::DWORD milliseconds) {
    std::unique_lock guard(lock_);
    const auto ended = [&] { return status_.has_value(); };
    if (milliseconds == ce::INFINITE) {
        ended_.wait(guard, ended);
        return true;
    }
    return ended_.wait_for(guard, std::chrono::milliseconds(milliseconds), ended);
}

std::optional<int> ChildExit::status() {
    std::lock_guard guard(lock_);
    return status_;
}

void ChildExit::set_terminated_with(ce::UINT exit_code) {
    std::lock_guard guard(lock_);
    terminated_with_ = exit_code;
}

std::optional<ce::UINT> ChildExit::terminated_with() {
    std::lock_guard guard(lock_);
    return terminated_with_;
}

}  // namespace host
