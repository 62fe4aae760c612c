#pragma once
// S3C24xx PWM timers 0-4 (TCFG0 +0x00, TCFG1 +0x04, TCON +0x08, TCNTBn/TCMPBn/TCNTOn):
// 16-bit down-counters at PCLK / (prescaler + 1) / divider, loaded by the manual-update
// bit, reloaded from TCNTBn after reaching 0 when auto-reload is on. Every reload
// raises the timer's pending bit in the interrupt controller. PCLK comes from the
// processor clock and CLKDIVN, as the platform set them.

#include <array>

#include "sim/Rate.h"
#include "sim/RegisterBlock.h"

namespace sim {

class PwmTimers : public RegisterBlock {
public:
    static constexpr std::uint32_t kTcfg0 = 0x00;
    static constexpr std::uint32_t kTcfg1 = 0x04;
    static constexpr std::uint32_t kTcon = 0x08;
    static constexpr int kTimers = 5;

    PwmTimers(Soc& soc, std::uint32_t physical, RegisterBlock& clocks);

    // Reloads (interrupt requests) of timer n since boot.
    std::uint64_t reloads(int n) const;
    // The earliest next reload of any running timer.
    std::int64_t next_reload() const;
    std::int64_t next_change(std::uint32_t offset) const override;
    Counting counting(std::uint32_t offset) const override;
    std::int64_t tick_time(std::uint32_t offset, std::uint64_t ticks) const override;
    std::uint64_t ticks_until(std::uint32_t offset, std::int64_t ns) const override;
    Rate rate(int n) const;

protected:
    std::uint32_t read_register(std::uint32_t offset) override;
    void write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) override;

private:
    struct Timer {
        bool counting = false;
        bool auto_reload = false;
        std::uint32_t count0 = 0;
        std::int64_t t0 = 0;
        std::uint64_t reloads_before = 0;
    };

    static int counter_register(std::uint32_t offset);
    std::uint32_t buffer(int n) const;
    std::uint64_t elapsed(const Timer& timer, const Rate& rate) const;
    std::uint32_t count(int n) const;
    std::int64_t next_reload(int n) const;
    void rebase(int n);
    void rebase_all();
    void apply_tcon();

    RegisterBlock& clocks_;
    std::array<Timer, kTimers> timers_{};
    std::array<Rate, kTimers> rates_{};
};

}  // namespace sim
