#include "sim/s3c/PwmTimers.h"

#include <algorithm>

#include "sim/Soc.h"

namespace sim {

namespace {

struct TconBits {
    std::uint32_t start;
    std::uint32_t manual;
    std::uint32_t auto_reload;
};

constexpr TconBits kTconBits[] = {{1u << 0, 1u << 1, 1u << 3},
                              {1u << 8, 1u << 9, 1u << 11},
                              {1u << 12, 1u << 13, 1u << 15},
                              {1u << 16, 1u << 17, 1u << 19},
                              {1u << 20, 1u << 21, 1u << 22}};

constexpr std::uint32_t kClkdivn = 0x14;
constexpr std::uint32_t kTcntb4 = 0x3C;
constexpr std::uint32_t kTcnto4 = 0x40;

// The OS tick the platform runs on timer 4: 1/4 divider, reload 5000.
constexpr std::uint32_t kBootTcfg1 = 0x00011100;
constexpr std::uint32_t kBootTickReload = 5000;

}  // namespace

PwmTimers::PwmTimers(Soc& soc, std::uint32_t physical, RegisterBlock& clocks)
    : RegisterBlock(soc, "PWM timers", physical), clocks_(clocks) {
    preset(kTcfg0, soc.profile().tcfg0);
    preset(kTcfg1, kBootTcfg1);
    preset(kTcntb4, kBootTickReload);
    preset(kTcon, kTconBits[4].start | kTconBits[4].auto_reload);
    for (int n = 0; n < kTimers; ++n) rates_[static_cast<std::size_t>(n)] = rate(n);
    timers_[4] = {true, true, kBootTickReload, now(), 0};
}

Rate PwmTimers::rate(int n) const {
    const auto& processor = soc().profile().processor;
    const std::uint32_t clkdivn = clocks_.read(kClkdivn, 32);
    const bool s3c244x = processor.name.find(u"244") != std::u16string_view::npos;
    const std::uint32_t hdivn = s3c244x ? (clkdivn >> 1) & 3 : (clkdivn >> 1) & 1;
    constexpr std::uint64_t kHclkDivider[] = {1, 2, 4, 3};
    const std::uint64_t pclk_divider = kHclkDivider[hdivn] * ((clkdivn & 1) != 0 ? 2 : 1);
    const std::uint32_t tcfg0 = stored(kTcfg0);
    const std::uint64_t prescaler = (n < 2 ? tcfg0 : tcfg0 >> 8) & 0xFF;
    const std::uint32_t field = (stored(kTcfg1) >> (4 * n)) & 0xF;
    const std::uint64_t divider = field <= 3 ? (2u << field) : 2;
    return Rate(processor.clock_hz, pclk_divider * (prescaler + 1) * divider);
}

int PwmTimers::counter_register(std::uint32_t offset) {
    if (offset == kTcnto4) return 4;
    if (offset >= 0x14 && offset <= 0x38 && (offset - 0x14) % 0xC == 0) return static_cast<int>((offset - 0x14) / 0xC);
    return -1;
}

std::uint32_t PwmTimers::buffer(int n) const {
    return stored(n == 4 ? kTcntb4 : 0x0C + 0xC * static_cast<std::uint32_t>(n)) & 0xFFFF;
}

std::uint64_t PwmTimers::elapsed(const Timer& timer, const Rate& rate) const {
    return timer.counting ? rate.ticks_in(now() - timer.t0) : 0;
}

std::uint32_t PwmTimers::count(int n) const {
    const Timer& timer = timers_[static_cast<std::size_t>(n)];
    const std::uint64_t e = elapsed(timer, rates_[static_cast<std::size_t>(n)]);
    if (e <= timer.count0) return static_cast<std::uint32_t>(timer.count0 - e);
    if (!timer.auto_reload) return 0;
    const std::uint64_t period = std::uint64_t{buffer(n)} + 1;
    return static_cast<std::uint32_t>(buffer(n) - (e - timer.count0 - 1) % period);
}

std::uint64_t PwmTimers::reloads(int n) const {
    const Timer& timer = timers_[static_cast<std::size_t>(n)];
    const std::uint64_t e = elapsed(timer, rates_[static_cast<std::size_t>(n)]);
    if (e <= timer.count0) return timer.reloads_before;
    if (!timer.auto_reload) return timer.reloads_before + 1;
    return timer.reloads_before + 1 + (e - timer.count0 - 1) / (std::uint64_t{buffer(n)} + 1);
}

std::int64_t PwmTimers::next_reload(int n) const {
    const Timer& timer = timers_[static_cast<std::size_t>(n)];
    if (!timer.counting) return kNever;
    const Rate& rate = rates_[static_cast<std::size_t>(n)];
    const std::uint64_t e = elapsed(timer, rate);
    if (e <= timer.count0) return timer.t0 + rate.ns_for(timer.count0 + 1);
    if (!timer.auto_reload) return kNever;
    const std::uint64_t period = std::uint64_t{buffer(n)} + 1;
    const std::uint64_t done = (e - timer.count0 - 1) / period + 1;
    return timer.t0 + rate.ns_for(timer.count0 + 1 + done * period);
}

std::int64_t PwmTimers::next_reload() const {
    std::int64_t next = kNever;
    for (int n = 0; n < kTimers; ++n) next = std::min(next, next_reload(n));
    return next;
}

std::int64_t PwmTimers::next_change(std::uint32_t offset) const {
    const int n = counter_register(offset);
    if (n < 0) return kNever;
    const Timer& timer = timers_[static_cast<std::size_t>(n)];
    if (!timer.counting) return kNever;
    const Rate& rate = rates_[static_cast<std::size_t>(n)];
    return timer.t0 + rate.ns_for(elapsed(timer, rate) + 1);
}

// A counting timer that auto-reloads from 65535 counts down modulo 2^16.
RegisterBlock::Counting PwmTimers::counting(std::uint32_t offset) const {
    const int n = counter_register(offset);
    if (n < 0) return {};
    const Timer& timer = timers_[static_cast<std::size_t>(n)];
    if (!timer.counting || !timer.auto_reload || buffer(n) != 0xFFFF) return {};
    return {-1, 0xFFFF};
}

std::int64_t PwmTimers::tick_time(std::uint32_t offset, std::uint64_t ticks) const {
    const int n = counter_register(offset);
    const Timer& timer = timers_[static_cast<std::size_t>(n)];
    const Rate& rate = rates_[static_cast<std::size_t>(n)];
    return timer.t0 + rate.ns_for(elapsed(timer, rate) + ticks);
}

std::uint64_t PwmTimers::ticks_until(std::uint32_t offset, std::int64_t ns) const {
    const int n = counter_register(offset);
    const Timer& timer = timers_[static_cast<std::size_t>(n)];
    const Rate& rate = rates_[static_cast<std::size_t>(n)];
    const std::uint64_t now_ticks = elapsed(timer, rate), then = rate.ticks_in(ns - timer.t0);
    return then > now_ticks ? then - now_ticks : 0;
}

// Restarts a timer's arithmetic from its last tick, so that a change of its settings
// applies from now on and not retroactively.
void PwmTimers::rebase(int n) {
    Timer& timer = timers_[static_cast<std::size_t>(n)];
    if (!timer.counting) return;
    const Rate& rate = rates_[static_cast<std::size_t>(n)];
    const std::uint64_t e = elapsed(timer, rate);
    const std::uint32_t current = count(n);
    const bool ended = e > timer.count0 && !timer.auto_reload;
    timer.reloads_before = reloads(n);
    timer.t0 += rate.ns_for(e);
    timer.count0 = current;
    if (ended) timer.counting = false;
}

void PwmTimers::rebase_all() {
    for (int n = 0; n < kTimers; ++n) rebase(n);
}

std::uint32_t PwmTimers::read_register(std::uint32_t offset) {
    const int n = counter_register(offset);
    return n >= 0 ? count(n) : stored(offset);
}

void PwmTimers::write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) {
    if (counter_register(offset) >= 0) return;  // read-only observation registers
    rebase_all();
    RegisterBlock::write_register(offset, value, lanes);
    if (offset == kTcon) apply_tcon();
    if (offset == kTcfg0 || offset == kTcfg1)
        for (int n = 0; n < kTimers; ++n) rates_[static_cast<std::size_t>(n)] = rate(n);
}

void PwmTimers::apply_tcon() {
    const std::uint32_t tcon = stored(kTcon);
    for (int n = 0; n < kTimers; ++n) {
        Timer& timer = timers_[static_cast<std::size_t>(n)];
        const TconBits& bits = kTconBits[n];
        timer.auto_reload = (tcon & bits.auto_reload) != 0;
        if ((tcon & bits.manual) != 0) {
            timer.count0 = buffer(n);
            timer.counting = false;
            continue;
        }
        const bool start = (tcon & bits.start) != 0;
        if (start && !timer.counting) timer.t0 = now();
        timer.counting = start;
    }
}

}  // namespace sim
