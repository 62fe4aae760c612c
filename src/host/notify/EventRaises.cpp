#include "host/notify/EventRaises.h"

#include <algorithm>
#include <set>

namespace host {

void EventRaises::take() {
    auto taken = store_.take_events();
    take_failed_ = !taken;
    if (taken) taken_ = std::move(*taken);
}

std::optional<std::chrono::milliseconds> EventRaises::raise_due() {
    std::set<ce::LONG> events;
    for (const auto& [event, count] : taken_) events.insert(event);
    for (const auto& [event, count] : heard_) events.insert(event);
    const auto now = Clock::now();
    std::optional<std::chrono::milliseconds> next;
    if (take_failed_) next = kSpacing;
    for (const ce::LONG event : events) {
        const auto last = last_.find(event);
        if (last != last_.end() && now - last->second < kSpacing) {
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(last->second + kSpacing - now);
            next = next ? std::min(*next, wait) : wait;
            continue;
        }
        runner_.raise(event, taken_[event] + heard_[event]);
        last_[event] = now;
        heard_.erase(event);
        taken_.erase(event);
        // Left taken when this fails: the next service starts them again, as a start the
        // service was killed in.
        store_.event_run(event);
    }
    return next;
}

}  // namespace host
