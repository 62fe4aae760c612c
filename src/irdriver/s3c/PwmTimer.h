#pragma once
// One of the S3C24xx PWM timers 2-4 (16-bit down-counters reloaded from 65535), as the
// transmit engine borrows it, with the interrupt bit its reloads raise.

#include <cstdint>

#include "ce/Memory.h"

class PwmTimer {
public:
    static constexpr ce::DWORD kTcfg0 = 0x00, kTcfg1 = 0x04, kTcon = 0x08;
    static constexpr std::uint32_t kCountMask = 0xFFFF;

    struct Layout {
        std::uint32_t start, busyBits, group, updateAndReload, manualUpdate, dividerField, interruptBit;
        ce::DWORD tcntb, tcnto;
    };

    // Timer 2 unless it runs or auto-reloads, else 3, else 4, else 2 anyway.
    static PwmTimer Choose(const ce::RegisterPage& timers, const ce::RegisterPage& interrupts);

    // Manual update with auto-reload from 65535, started (unless `start` is false: then
    // by Start), divider 1/2; its interrupt masked and its pending bits cleared.
    // Everything is saved for Release.
    void Borrow(bool start = true);
    void Start() const;
    void Release() const;

    std::uint32_t Count() const { return timers_.read32(layout_.tcnto) & kCountMask; }
    // Waits until the counter has counted down to x (16-bit signed difference, so a
    // target on the far side of a reload is waited for).
    void WaitPasses(std::uint32_t x) const { timers_.WaitDownCount(layout_.tcnto, kCountMask, x); }
    // Waits `ticks`, any length: the pending bit counts the reloads that long waits span.
    void WaitTicks(std::uint32_t ticks) const;
    std::uint32_t interruptBit() const { return layout_.interruptBit; }
    // The reload the counter raises in SRCPND, and clearing it (SRCPND and INTPND).
    bool Pending() const;
    void ClearPending() const;

private:
    PwmTimer(const ce::RegisterPage& timers, const ce::RegisterPage& interrupts, const Layout& layout)
        : timers_(timers), interrupts_(interrupts), layout_(layout) {}

    ce::RegisterPage timers_, interrupts_;
    Layout layout_;
    std::uint32_t savedGroup_ = 0, savedDivider_ = 0;
    bool wasMasked_ = false;
};
