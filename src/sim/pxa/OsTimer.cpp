#include "sim/pxa/OsTimer.h"

namespace sim {

OsTimer::OsTimer(Soc& soc, std::uint32_t physical, Rate rate)
    : RegisterBlock(soc, "OS timer", physical), rate_(rate), base_ns_(now()) {}

// Polling reads the counter once per tick, so the tick and the time of the next one are
// kept until the clock passes it.
void OsTimer::refresh() const {
    const std::int64_t at = now();
    if (at >= tick_ns_ && at < next_tick_ns_) return;
    ticks_ = rate_.ticks_in(at - base_ns_);
    tick_ns_ = at;
    next_tick_ns_ = base_ns_ + rate_.ns_for(ticks_ + 1);
}

std::uint32_t OsTimer::count() const {
    refresh();
    return base_count_ + static_cast<std::uint32_t>(ticks_);
}

std::uint32_t OsTimer::read_register(std::uint32_t offset) {
    return offset == kOscr ? count() : stored(offset);
}

void OsTimer::write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) {
    if (offset != kOscr) return RegisterBlock::write_register(offset, value, lanes);
    base_count_ = (count() & ~lanes) | (value & lanes);
    base_ns_ = now();
    tick_ns_ = next_tick_ns_ = 0;
}

std::int64_t OsTimer::next_change(std::uint32_t offset) const {
    if (offset != kOscr) return kNever;
    refresh();
    return next_tick_ns_;
}

RegisterBlock::Counting OsTimer::counting(std::uint32_t offset) const {
    return offset == kOscr ? Counting{1, 0xFFFFFFFF} : Counting{};
}

std::int64_t OsTimer::tick_time(std::uint32_t /*offset*/, std::uint64_t ticks) const {
    refresh();
    return base_ns_ + rate_.ns_for(ticks_ + ticks);
}

std::uint64_t OsTimer::ticks_until(std::uint32_t /*offset*/, std::int64_t ns) const {
    refresh();
    const std::uint64_t then = rate_.ticks_in(ns - base_ns_);
    return then > ticks_ ? then - ticks_ : 0;
}

}  // namespace sim
