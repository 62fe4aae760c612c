#pragma once
// One of the three OMAP MPU timers (block 0xFFFEC000, timer n at +0x400 + 0x100 n),
// borrowed by a transmit engine only when its start bit is clear.

#include <cstdint>

#include "ce/Memory.h"

class MpuTimer {
public:
    static constexpr std::uint32_t kBlock = 0xFFFEC000;
    static constexpr ce::DWORD kCntl = 0x00, kLoad = 0x04, kRead = 0x08;
    static constexpr std::uint32_t kStart = 0x01;

    MpuTimer(const ce::RegisterPage& block, int number) : block_(block), base_(0x400 + 0x100 * static_cast<ce::DWORD>(number)) {}

    // The first of `order` whose start bit is clear, else `whenAllBusy`.
    static MpuTimer FirstIdle(const ce::RegisterPage& block, const int (&order)[3], int whenAllBusy);

    bool Running() const { return (Cntl() & kStart) != 0; }
    std::uint32_t Cntl() const { return block_.read32(base_ + kCntl); }
    void SetCntl(std::uint32_t value) const { block_.write32(base_ + kCntl, value); }
    std::uint32_t Load() const { return block_.read32(base_ + kLoad); }
    void SetLoad(std::uint32_t value) const { block_.write32(base_ + kLoad, value); }
    std::uint32_t Read() const { return block_.read32(base_ + kRead); }
    // READ_TIM's offset in the block, for loops that poll it directly.
    ce::DWORD ReadOffset() const { return base_ + kRead; }
    // Waits while the down-counter has not yet reached `target` (signed difference).
    void WaitDownTo(std::uint32_t target) const { block_.WaitDownCount(base_ + kRead, 0xFFFFFFFF, target); }
    // Waits while the timer runs (a one-shot clears its start bit at 0).
    void WaitStopped() const { block_.WaitWhile(base_ + kCntl, kStart, kStart); }
    // The condition "the one-shot has stopped", for waits on more than one register.
    ce::RegisterCondition Stopped() const {
        return block_.Condition(base_ + kCntl, ce::RegisterCondition::MaskEquals, kStart, 0);
    }

private:
    ce::RegisterPage block_;
    ce::DWORD base_;
};
