#include "sim/WaitCondition.h"

namespace sim {

namespace {

// The sign bit of a difference within the width the mask gives.
std::uint32_t sign_bit(std::uint32_t mask) { return (mask >> 1) + 1; }

}  // namespace

bool WaitCondition::holds(std::uint32_t read) const {
    const std::uint32_t difference = (read - value) & mask;
    switch (until) {
        case Until::equal: return (read & mask) == value;
        case Until::differ: return (read & mask) != value;
        case Until::up_reaches: return (difference & sign_bit(mask)) == 0;
        case Until::down_reaches: return difference == 0 || (difference & sign_bit(mask)) != 0;
        case Until::at_or_below: return (read & mask) <= value;
    }
    return true;
}

std::uint64_t WaitCondition::ticks_to_hold(std::uint32_t read, int direction) const {
    if (holds(read)) return 0;
    if (until == Until::up_reaches && direction > 0) return (value - read) & mask;
    if (until == Until::down_reaches && direction < 0) return (read - value) & mask;
    if (until == Until::at_or_below && direction < 0) return (read & mask) - value;
    return UINT64_MAX;
}

}  // namespace sim
