#include "sim/pxa/OsTimer.h"

namespace sim {

OsTimer::OsTimer(Soc& soc, std::uint32_t physical, Rate rate)
    : RegisterBlock(soc, "OS timer", physical), rate_(rate), base_ns_(now()) {}

std::uint32_t OsTimer::count() const {
    return base_count_ + static_cast<std::uint32_t>(rate_.ticks_in(now() - base_ns_));
}

std::uint32_t OsTimer::read_register(std::uint32_t offset) {
    return offset == kOscr ? count() : stored(offset);
}

void OsTimer::write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) {
    if (offset != kOscr) return RegisterBlock::write_register(offset, value, lanes);
    base_count_ = (count() & ~lanes) | (value & lanes);
    base_ns_ = now();
}

std::int64_t OsTimer::next_change(std::uint32_t offset) const {
    if (offset != kOscr) return kNever;
    return base_ns_ + rate_.ns_for(rate_.ticks_in(now() - base_ns_) + 1);
}

}  // namespace sim
