#include "host/notify/EventRaises.h"

#include <algorithm>
#include <set>

namespace host {

namespace {

// How soon a take that failed (the database busy) is tried again.
constexpr std::chrono::seconds kTakeRetry{1};

}  // namespace

void EventRaises::take() {
    auto taken = store_.take_events();
    take_failed_ = !taken;
    if (taken) taken_ = std::move(*taken);
}

std::optional<std::chrono::milliseconds> EventRaises::raise_due() {
    for (auto& [event, raised] : last_)
        std::erase_if(raised.programs, [](const auto& program) { return program->ended(); });
    std::set<ce::LONG> events;
    for (const auto& [event, count] : taken_) events.insert(event);
    for (const auto& [event, count] : heard_) events.insert(event);
    const auto now = Clock::now();
    std::optional<std::chrono::milliseconds> next;
    if (take_failed_) next = kTakeRetry;
    for (const ce::LONG event : events) {
        Raised& last = last_[event];
        if (!last.programs.empty() && now - last.at < kLongestHold) {
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(last.at + kLongestHold - now);
            next = next ? std::min(*next, wait) : wait;
            continue;
        }
        last = {now, runner_.raise(event, taken_[event] + heard_[event])};
        heard_.erase(event);
        taken_.erase(event);
        // Left taken when this fails: the next service starts them again, as a start the
        // service was killed in.
        store_.event_run(event);
    }
    return next;
}

std::vector<int> EventRaises::fds() const {
    std::vector<int> fds;
    for (const auto& [event, raised] : last_)
        for (const auto& program : raised.programs)
            if (program->pidfd() >= 0) fds.push_back(program->pidfd());
    return fds;
}

}  // namespace host
