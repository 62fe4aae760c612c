#include "host/notify/FollowedStarts.h"

#include "ce/Process.h"

namespace host {

void FollowedStarts::follow(const TimedRow& row, std::unique_ptr<ProcessHandle> process) {
    running_.push_back({row, std::move(process)});
}

std::vector<int> FollowedStarts::fds() const {
    std::vector<int> fds;
    for (const auto& running : running_)
        if (running.process->pidfd() >= 0) fds.push_back(running.process->pidfd());
    return fds;
}

std::vector<FollowedStarts::Ended> FollowedStarts::take_ended() {
    std::vector<Ended> ended;
    for (auto it = running_.begin(); it != running_.end();) {
        if (!it->process->ended()) {
            ++it;
            continue;
        }
        // A status nobody could read (reaped elsewhere) counts as a failure: starting
        // again is safe, losing the registration is not.
        const ce::DWORD code = it->process->exit_code().value_or(ce::STILL_ACTIVE);
        ended.push_back({it->row, code == 0, code});
        it = running_.erase(it);
    }
    return ended;
}

}  // namespace host
