#include "sim/omap/MpuTimers.h"

namespace sim {

MpuTimers::MpuTimers(Soc& soc, std::uint32_t physical, std::uint64_t input_hz)
    : RegisterBlock(soc, "MPU timers", physical), input_hz_(input_hz) {
    // The operating system's tick runs on timer 1, auto-reloading every millisecond.
    const std::uint32_t tick = static_cast<std::uint32_t>(input_hz / 4 / 1000);
    preset(base(1) + kLoad, tick);
    preset(base(1) + kCntl, 0x64 | kAutoReload | kStart);
    timers_[1] = {true, tick, now(), Rate(input_hz, 4), 0, 0, 0};
}

int MpuTimers::timer_of(std::uint32_t offset, std::uint32_t* reg) {
    if (offset < base(1) || offset >= base(4)) return 0;
    *reg = offset & 0xFF;
    return *reg <= kRead ? static_cast<int>((offset - 0x400) / 0x100) : 0;
}

std::uint64_t MpuTimers::elapsed(const Timer& timer) const {
    if (!timer.running) return 0;
    const std::int64_t at = now();
    if (at < timer.tick_ns || at >= timer.next_ns) {
        timer.ticks = timer.rate.ticks_in(at - timer.t0);
        timer.tick_ns = at;
        timer.next_ns = timer.t0 + timer.rate.ns_for(timer.ticks + 1);
    }
    return timer.ticks;
}

bool MpuTimers::expired(int n) const {
    const Timer& timer = timers_[static_cast<std::size_t>(n)];
    return timer.running && (stored(base(n) + kCntl) & kAutoReload) == 0 && elapsed(timer) >= timer.start_count;
}

std::uint32_t MpuTimers::count(int n) const {
    const Timer& timer = timers_[static_cast<std::size_t>(n)];
    if (!timer.running) return stored(base(n) + kRead);
    const std::uint64_t e = elapsed(timer);
    if (e <= timer.start_count) return static_cast<std::uint32_t>(timer.start_count - e);
    if ((stored(base(n) + kCntl) & kAutoReload) == 0) return 0;
    const std::uint64_t load = stored(base(n) + kLoad);
    return static_cast<std::uint32_t>(load - (e - timer.start_count - 1) % (load + 1));
}

std::uint32_t MpuTimers::read_register(std::uint32_t offset) {
    std::uint32_t reg = 0;
    const int n = timer_of(offset, &reg);
    if (n == 0) return stored(offset);
    if (reg == kRead) return count(n);
    if (reg == kCntl && expired(n)) {
        // A one-shot that reached 0 stops and clears its start bit.
        store(base(n) + kRead, 0);
        store(offset, stored(offset) & ~kStart);
        timers_[static_cast<std::size_t>(n)].running = false;
    }
    return stored(offset);
}

void MpuTimers::write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) {
    std::uint32_t reg = 0;
    const int n = timer_of(offset, &reg);
    if (n == 0 || reg != kCntl) {
        if (reg != kRead) RegisterBlock::write_register(offset, value, lanes);
        return;
    }
    Timer& timer = timers_[static_cast<std::size_t>(n)];
    const std::uint32_t current = count(n);
    const bool was_running = timer.running && !expired(n);
    const std::uint32_t cntl = merged(offset, value, lanes);
    store(offset, cntl);
    const bool start = (cntl & kStart) != 0 && (cntl & kClockEnable) != 0;
    if (start && !was_running) {
        const std::uint32_t ptv = (cntl >> 2) & 7;
        timer = {true, stored(base(n) + kLoad), now(), Rate(input_hz_, 2ull << ptv), 0, 0, 0};
    } else if (!start) {
        timer.running = false;
        store(base(n) + kRead, current);
    }
}

std::int64_t MpuTimers::next_change(std::uint32_t offset) const {
    std::uint32_t reg = 0;
    const int n = timer_of(offset, &reg);
    if (n == 0) return kNever;
    const Timer& timer = timers_[static_cast<std::size_t>(n)];
    if (!timer.running) return kNever;
    if (reg == kRead) {
        elapsed(timer);
        return timer.next_ns;
    }
    if (reg == kCntl && (stored(base(n) + kCntl) & kAutoReload) == 0) return timer.t0 + timer.rate.ns_for(timer.start_count);
    return kNever;
}

// A running timer that auto-reloads from 0xFFFFFFFF counts down modulo 2^32.
RegisterBlock::Counting MpuTimers::counting(std::uint32_t offset) const {
    std::uint32_t reg = 0;
    const int n = timer_of(offset, &reg);
    if (n == 0 || reg != kRead || !timers_[static_cast<std::size_t>(n)].running) return {};
    if ((stored(base(n) + kCntl) & kAutoReload) == 0 || stored(base(n) + kLoad) != 0xFFFFFFFF) return {};
    return {-1, 0xFFFFFFFF};
}

std::int64_t MpuTimers::tick_time(std::uint32_t offset, std::uint64_t ticks) const {
    std::uint32_t reg = 0;
    const Timer& timer = timers_[static_cast<std::size_t>(timer_of(offset, &reg))];
    return timer.t0 + timer.rate.ns_for(elapsed(timer) + ticks);
}

std::uint64_t MpuTimers::ticks_until(std::uint32_t offset, std::int64_t ns) const {
    std::uint32_t reg = 0;
    const Timer& timer = timers_[static_cast<std::size_t>(timer_of(offset, &reg))];
    const std::uint64_t now_ticks = elapsed(timer), then = timer.rate.ticks_in(ns - timer.t0);
    return then > now_ticks ? then - now_ticks : 0;
}

}  // namespace sim
