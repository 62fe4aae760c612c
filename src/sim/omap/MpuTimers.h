#pragma once
// OMAP MPU timers 1-3 (at +0x500, +0x600, +0x700): CNTL_TIMER (+0: bit 0 start,
// bit 1 auto-reload, bits 2-4 prescaler PTV, bit 5 clock enable), LOAD_TIM (+4) and
// READ_TIM (+8), a 32-bit down-counter at input / 2^(PTV+1). Starting loads LOAD_TIM;
// at 0 a one-shot timer clears its start bit, an auto-reload timer reloads.

#include <array>

#include "sim/Rate.h"
#include "sim/RegisterBlock.h"

namespace sim {

class MpuTimers : public RegisterBlock {
public:
    static constexpr std::uint32_t kCntl = 0x0;
    static constexpr std::uint32_t kLoad = 0x4;
    static constexpr std::uint32_t kRead = 0x8;
    static constexpr std::uint32_t kStart = 0x01;
    static constexpr std::uint32_t kAutoReload = 0x02;
    static constexpr std::uint32_t kClockEnable = 0x20;

    static constexpr std::uint32_t base(int timer) { return 0x400u + 0x100u * static_cast<std::uint32_t>(timer); }

    MpuTimers(Soc& soc, std::uint32_t physical, std::uint64_t input_hz);
    std::int64_t next_change(std::uint32_t offset) const override;
    Counting counting(std::uint32_t offset) const override;
    std::int64_t tick_time(std::uint32_t offset, std::uint64_t ticks) const override;
    std::uint64_t ticks_until(std::uint32_t offset, std::int64_t ns) const override;

protected:
    std::uint32_t read_register(std::uint32_t offset) override;
    void write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) override;

private:
    struct Timer {
        bool running = false;
        std::uint32_t start_count = 0;
        std::int64_t t0 = 0;
        Rate rate;
        // The elapsed ticks as of tick_ns, valid until next_ns (a poll reads once a tick).
        mutable std::uint64_t ticks = 0;
        mutable std::int64_t tick_ns = 0;
        mutable std::int64_t next_ns = 0;
    };
    // 1..3 for a timer's register, with the register's offset inside the timer.
    static int timer_of(std::uint32_t offset, std::uint32_t* reg);
    std::uint64_t elapsed(const Timer& timer) const;
    bool expired(int n) const;
    std::uint32_t count(int n) const;

    std::uint64_t input_hz_;
    std::array<Timer, 4> timers_{};
};

}  // namespace sim
