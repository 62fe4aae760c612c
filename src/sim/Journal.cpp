#include "sim/Journal.h"

namespace sim {

void Journal::record(std::string_view name, std::uint32_t previous, std::uint32_t value, std::int64_t ns) {
    auto found = entries_.find(name);
    if (found == entries_.end()) found = entries_.emplace(std::string(name), Entry{previous, previous, 0, 0}).first;
    Entry& entry = found->second;
    entry.current = value;
    ++entry.changes;
    entry.last_change_ns = ns;
}

const Journal::Entry* Journal::find(std::string_view name) const {
    const auto found = entries_.find(name);
    return found == entries_.end() ? nullptr : &found->second;
}

std::vector<std::string> Journal::unrestored() const {
    std::vector<std::string> names;
    for (const auto& [name, entry] : entries_)
        if (entry.current != entry.initial) names.push_back(name);
    return names;
}

}  // namespace sim
