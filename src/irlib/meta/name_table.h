#pragma once
// Names of an element stream numbered from 1 in the order they were added, so a stream
// can refer to a name by a 16-bit index instead of spelling it out each time.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace meta {

class name_table {
public:
    // A 16-bit index cannot reach further, and index 0 means "no name".
    static constexpr std::size_t max_names = 0xFFFF;

    name_table();

    // Adds a private copy of `name`; its index, or 0 when the table is full.
    std::uint16_t add(const char* name);
    // The index of the first entry spelled exactly `name` (case matters), or 0.
    std::uint16_t find(const char* name) const;
    // The entry at `index`; null for index 0 or an index beyond the table. The text stays
    // put while the table grows, so a reader may hold it while "?names" adds entries.
    const char* name(std::uint16_t index) const;

    std::size_t size() const { return names_.size(); }

private:
    std::vector<std::unique_ptr<const std::string>> names_;
    std::unordered_map<std::string_view, std::uint16_t> indexes_;
};

}  // namespace meta
