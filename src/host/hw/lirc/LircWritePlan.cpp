#include "host/hw/lirc/LircWritePlan.h"

#include <algorithm>
#include <cmath>

namespace host::hw {

std::vector<std::uint32_t> LircWritePlan::values_of(const sim::DecodedTrace& trace) {
    std::vector<std::uint32_t> values;
    for (const auto& segment : trace.segments) {
        // The same rounding as the log's mode2 text; the kernel refuses a zero.
        const auto us = static_cast<std::uint32_t>(
            std::max<long long>(1, std::llround(static_cast<double>(segment.ns) / 1000.0)));
        const bool pulse_slot = values.size() % 2 == 0;
        if (values.empty() && !segment.mark) continue;
        if (segment.mark == pulse_slot) values.push_back(us);
        else values.back() += us;  // two of a kind in a row are one
    }
    if (values.size() % 2 == 0 && !values.empty()) values.pop_back();
    return values;
}

std::vector<LircWrite> LircWritePlan::split(const std::vector<std::uint32_t>& values, std::string& error) {
    std::vector<LircWrite> writes;
    const std::size_t n = values.size();
    std::size_t start = 0;
    while (start < n) {
        if (values[start] > kLongestWriteUs) {
            error = "a pulse of " + std::to_string(values[start]) + " us is longer than one LIRC write may last (" +
                    std::to_string(kLongestWriteUs) + " us)";
            return {};
        }
        // Take (space, pulse) pairs while the write stays within both limits.
        std::size_t end = start;  // index of the write's last pulse
        std::uint64_t total = values[start];
        while (end + 2 < n && end + 3 - start <= kMostValues && total + values[end + 1] + values[end + 2] <= kLongestWriteUs) {
            total += values[end + 1] + values[end + 2];
            end += 2;
        }
        if (end + 1 >= n) {
            writes.push_back({{values.begin() + static_cast<std::ptrdiff_t>(start), values.end()}, 0});
            break;
        }
        // Cut at the longest space this write reaches (the latest of equals), so that the
        // host's timing only ever falls in a gap between frames.
        std::size_t cut = start + 1;
        for (std::size_t k = start + 1; k <= end + 1; k += 2)
            if (values[k] >= values[cut]) cut = k;
        writes.push_back({{values.begin() + static_cast<std::ptrdiff_t>(start), values.begin() + static_cast<std::ptrdiff_t>(cut)},
                          values[cut]});
        start = cut + 1;
    }
    return writes;
}

}  // namespace host::hw
