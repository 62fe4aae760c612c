#pragma once
// What the drivers changed and put back: every recorded setting (thread priority and
// quantum, interrupt masks, pin functions and directions, LED state) keeps the value it
// had before its first change, its current value and how often it was changed, so a
// test can check that a send left everything as it found it.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class Journal {
public:
    struct Entry {
        std::uint32_t initial = 0;
        std::uint32_t current = 0;
        std::size_t changes = 0;
        std::int64_t last_change_ns = 0;
    };

    // A write of `value` over `previous`; the first one fixes the initial value.
    void record(std::string_view name, std::uint32_t previous, std::uint32_t value, std::int64_t ns);
    const Entry* find(std::string_view name) const;
    // Names whose current value differs from the one before their first change.
    std::vector<std::string> unrestored() const;
    const std::map<std::string, Entry, std::less<>>& entries() const { return entries_; }
    void clear() { entries_.clear(); }

private:
    std::map<std::string, Entry, std::less<>> entries_;
};

}  // namespace sim
