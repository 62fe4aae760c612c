#pragma once
// What a busy-wait polls and when it stops: a register read as 32 bits, tested either
// under a mask or as a counter that has reached a target. Counter targets compare by the
// signed difference within the counter's width (the mask), so a target on the far side
// of a wrap is still waited for.

#include <cstdint>

namespace sim {

class RegisterBlock;

struct WaitCondition {
    enum class Until : std::uint8_t {
        equal,         // (read & mask) == value
        differ,        // (read & mask) != value: waits while the masked bits hold
        up_reaches,    // up-counter: signed (read - value) >= 0 within the mask's width
        down_reaches,  // down-counter: signed (read - value) <= 0 within the mask's width
        at_or_below,   // (read & mask) <= value
    };

    RegisterBlock* block = nullptr;
    std::uint32_t offset = 0;
    Until until = Until::equal;
    std::uint32_t mask = 0xFFFFFFFF;
    std::uint32_t value = 0;

    bool holds(std::uint32_t read) const;
    // Ticks a counter moving by `direction` (+1 up, -1 down) from `read` makes before the
    // condition first holds; 0 when it holds now, UINT64_MAX when counting cannot make it.
    std::uint64_t ticks_to_hold(std::uint32_t read, int direction) const;
};

}  // namespace sim
