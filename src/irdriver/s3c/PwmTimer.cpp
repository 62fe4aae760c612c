#include "irdriver/s3c/PwmTimer.h"

namespace {

constexpr ce::DWORD kSrcpnd = 0x00, kIntmsk = 0x08, kIntpnd = 0x10;
constexpr std::uint32_t kReload = 65535;
constexpr std::uint32_t kStep = 0x4000;  // a quarter of the counter's range

// TCON start, busy (start or auto-reload), group, manual update + auto-reload, manual
// update; TCFG1 divider field; interrupt bit; TCNTBn; TCNTOn.
constexpr PwmTimer::Layout kLayouts[] = {
    {0x1000, 0x9000, 0xF000, 0xA000, 0x2000, 0xF00, 0x1000, 0x24, 0x2C},            // timer 2
    {0x10000, 0x90000, 0xF0000, 0xA0000, 0x20000, 0xF000, 0x2000, 0x30, 0x38},       // timer 3
    {0x100000, 0x500000, 0xF00000, 0x600000, 0x200000, 0xF0000, 0x4000, 0x3C, 0x40},  // timer 4
};

}  // namespace

PwmTimer PwmTimer::Choose(const ce::RegisterPage& timers, const ce::RegisterPage& interrupts) {
    const std::uint32_t tcon = timers.read32(kTcon);
    for (const Layout& layout : kLayouts)
        if ((tcon & layout.busyBits) == 0) return PwmTimer(timers, interrupts, layout);
    return PwmTimer(timers, interrupts, kLayouts[0]);
}

void PwmTimer::Borrow(bool start) {
    // 1. The timer's TCON group and TCFG1 divider saved; 2. stopped; 3. manual update and
    // auto-reload; 4. count buffer 65535; 5. started, unless the caller starts it later;
    // 6. manual update off; 7. divider 1/2.
    savedGroup_ = timers_.read32(kTcon) & layout_.group;
    savedDivider_ = timers_.read32(kTcfg1) & layout_.dividerField;
    timers_.write32(kTcon, timers_.read32(kTcon) & ~layout_.start);
    timers_.write32(kTcon, timers_.read32(kTcon) | layout_.updateAndReload);
    timers_.write32(layout_.tcntb, kReload);
    if (start) Start();
    timers_.write32(kTcon, timers_.read32(kTcon) & ~layout_.manualUpdate);
    timers_.write32(kTcfg1, timers_.read32(kTcfg1) & ~layout_.dividerField);
    // 8. Its interrupt masked (noting whether it was) and 9. its pending bits cleared.
    const std::uint32_t mask = interrupts_.read32(kIntmsk);
    wasMasked_ = (mask & layout_.interruptBit) != 0;
    interrupts_.write32(kIntmsk, mask | layout_.interruptBit);
    ClearPending();
}

void PwmTimer::Start() const { timers_.write32(kTcon, timers_.read32(kTcon) | layout_.start); }

void PwmTimer::Release() const {
    // 1. TCON group, 2. divider, 3. interrupt mask bit, as they were.
    timers_.write32(kTcon, (timers_.read32(kTcon) & ~layout_.group) | savedGroup_);
    timers_.write32(kTcfg1, timers_.read32(kTcfg1) | savedDivider_);
    const std::uint32_t mask = interrupts_.read32(kIntmsk);
    interrupts_.write32(kIntmsk, wasMasked_ ? mask | layout_.interruptBit : mask & ~layout_.interruptBit);
}

bool PwmTimer::Pending() const { return (interrupts_.read32(kSrcpnd) & layout_.interruptBit) != 0; }

void PwmTimer::ClearPending() const {
    interrupts_.write32(kSrcpnd, layout_.interruptBit);
    interrupts_.write32(kIntpnd, layout_.interruptBit);
}

// Reloading from 65535, the counter steps through all 65536 counts, so n ticks from now
// it shows (now - n) mod 65536. Each step's target follows from the previous target, not
// from a fresh read, so no reload can fall between reading a base count and clearing a
// pending bit (which would end a space at once); a step of a quarter of the range is
// told apart from a wrap by the signed difference.
void PwmTimer::WaitTicks(std::uint32_t ticks) const {
    if (ticks == 0) return;
    std::uint32_t target = Count();
    for (; ticks > kStep; ticks -= kStep) WaitPasses(target = (target - kStep) & kCountMask);
    WaitPasses((target - ticks) & kCountMask);
}
