#pragma once
// A transmission as the kernel takes it in LIRC_MODE_PULSE: durations in microseconds,
// pulse first, alternating, an odd count (no trailing space), none zero. One write()
// carries at most 1024 values lasting at most 500 ms in all (LIRCBUF_SIZE and
// IR_MAX_DURATION of the kernel's lirc_dev); a longer transmission is cut into writes
// at its longest spaces, and the space between two writes is waited for on the host.

#include <cstdint>
#include <string>
#include <vector>

#include "sim/TraceDecoder.h"

namespace host::hw {

struct LircWrite {
    std::vector<std::uint32_t> values;
    std::uint32_t space_after_us = 0;  // before the next write; 0 after the last
};

class LircWritePlan {
public:
    static constexpr std::size_t kMostValues = 1024;
    static constexpr std::uint32_t kLongestWriteUs = 500'000;

    // The trace's marks and spaces as ir.log writes them (rounded to µs), without the
    // trailing space.
    static std::vector<std::uint32_t> values_of(const sim::DecodedTrace& trace);
    // The writes for `values` (pulse first, odd count); empty with `error` set when one
    // pulse alone lasts longer than a write may.
    static std::vector<LircWrite> split(const std::vector<std::uint32_t>& values, std::string& error);
};

}  // namespace host::hw
