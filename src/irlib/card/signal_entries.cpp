#include "irlib/card/signal_entries.h"

#include "recordfile/PdbLayout.h"

namespace platform::card {

namespace {

constexpr std::int64_t kLongest = kLongestEntry;

}  // namespace

std::int64_t entry_count(std::int32_t duration) {
    const std::int64_t d = duration;
    if (d > kLongest) return (d - (kLongest + 1)) / kLongest + 2;
    if (d < -kLongest) return (-(kLongest + 1) - d) / kLongest + 2;
    return 1;
}

bool pack_entries(std::span<const std::int32_t> durations, std::vector<std::int16_t>& entries) {
    // Counted first with an early stop, so a long list of huge durations cannot wrap.
    std::int64_t total = 0;
    for (const std::int32_t d : durations) {
        total += entry_count(d);
        if (total > static_cast<std::int64_t>(kMaxEntries)) return false;
    }
    if (total == 0) return false;

    entries.clear();
    for (const std::int32_t duration : durations) {
        std::int64_t d = duration;
        const std::int64_t full = entry_count(duration) - 1;
        const std::int64_t step = d > 0 ? kLongest : -kLongest;
        for (std::int64_t i = 0; i < full; ++i) entries.push_back(static_cast<std::int16_t>(step));
        d -= step * full;
        entries.push_back(static_cast<std::int16_t>(d));
    }
    return true;
}

std::vector<std::int32_t> merge_entries(std::span<const std::uint8_t> big_endian_entries) {
    std::vector<std::int32_t> durations;
    bool mark = false;
    for (std::size_t i = 0; i + 1 < big_endian_entries.size(); i += 2) {
        const auto entry = static_cast<std::int16_t>(pdb::read_be16(&big_endian_entries[i]));
        const bool entry_mark = entry >= 0;
        // At most 65535 entries of at most 32768: the sum stays inside int32.
        if (!durations.empty() && entry_mark == mark) durations.back() += entry;
        else durations.push_back(entry);
        mark = entry_mark;
    }
    return durations;
}

}  // namespace platform::card
