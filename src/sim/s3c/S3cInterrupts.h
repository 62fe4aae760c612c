#pragma once
// S3C24xx interrupt controller: SRCPND (+0x00), INTMSK (+0x08), INTPND (+0x10).
// The PWM timers' pending bits (timer n = bit 10 + n) are set by their reloads and
// cleared by writing 1 to SRCPND or INTPND.

#include <array>

#include "sim/RegisterBlock.h"

namespace sim {

class PwmTimers;

class S3cInterrupts : public RegisterBlock {
public:
    static constexpr std::uint32_t kSrcpnd = 0x00;
    static constexpr std::uint32_t kIntmsk = 0x08;
    static constexpr std::uint32_t kIntpnd = 0x10;

    S3cInterrupts(Soc& soc, std::uint32_t physical, const PwmTimers& timers);
    std::int64_t next_change(std::uint32_t offset) const override;

protected:
    std::uint32_t read_register(std::uint32_t offset) override;
    void write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) override;

private:
    std::uint32_t timer_pending() const;

    const PwmTimers& timers_;
    std::array<std::uint64_t, 5> acknowledged_{};
};

}  // namespace sim
