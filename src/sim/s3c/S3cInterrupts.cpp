#include "sim/s3c/S3cInterrupts.h"

#include "sim/s3c/PwmTimers.h"

namespace sim {

namespace {

constexpr std::uint32_t kTimerBit0 = 1u << 10;

}  // namespace

S3cInterrupts::S3cInterrupts(Soc& soc, std::uint32_t physical, const PwmTimers& timers)
    : RegisterBlock(soc, "interrupt controller", physical), timers_(timers) {
    // Everything masked but the OS tick (timer 4) and a few devices; timer 2 unmasked too.
    preset(kIntmsk, 0xFFFFAFFF);
    journal_register(kIntmsk, "INTMSK");
}

std::uint32_t S3cInterrupts::timer_pending() const {
    std::uint32_t bits = 0;
    for (int n = 0; n < PwmTimers::kTimers; ++n)
        if (timers_.reloads(n) > acknowledged_[static_cast<std::size_t>(n)]) bits |= kTimerBit0 << n;
    return bits;
}

std::uint32_t S3cInterrupts::read_register(std::uint32_t offset) {
    if (offset == kSrcpnd) return stored(kSrcpnd) | timer_pending();
    if (offset == kIntpnd) return (stored(kSrcpnd) | timer_pending()) & ~stored(kIntmsk);
    return stored(offset);
}

void S3cInterrupts::write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) {
    if (offset != kSrcpnd && offset != kIntpnd) return RegisterBlock::write_register(offset, value, lanes);
    const std::uint32_t cleared = value & lanes;
    store(kSrcpnd, stored(kSrcpnd) & ~cleared);
    for (int n = 0; n < PwmTimers::kTimers; ++n)
        if ((cleared & (kTimerBit0 << n)) != 0) acknowledged_[static_cast<std::size_t>(n)] = timers_.reloads(n);
}

std::int64_t S3cInterrupts::next_change(std::uint32_t offset) const {
    return offset == kSrcpnd || offset == kIntpnd ? timers_.next_reload() : kNever;
}

}  // namespace sim
