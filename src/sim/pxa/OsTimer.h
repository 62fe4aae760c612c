#pragma once
// The free-running OS timer of the PXA and SA-11x0 families: OSCR (+0x10) counts up at
// the block's rate from the virtual clock and wraps at 2^32; a write sets it.

#include "sim/Rate.h"
#include "sim/RegisterBlock.h"

namespace sim {

class OsTimer : public RegisterBlock {
public:
    static constexpr std::uint32_t kOscr = 0x10;

    OsTimer(Soc& soc, std::uint32_t physical, Rate rate);
    std::int64_t next_change(std::uint32_t offset) const override;
    Counting counting(std::uint32_t offset) const override;
    std::int64_t tick_time(std::uint32_t offset, std::uint64_t ticks) const override;
    std::uint64_t ticks_until(std::uint32_t offset, std::int64_t ns) const override;

protected:
    std::uint32_t read_register(std::uint32_t offset) override;
    void write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) override;

private:
    std::uint32_t count() const;
    void refresh() const;

    Rate rate_;
    std::uint32_t base_count_ = 0;
    std::int64_t base_ns_ = 0;
    mutable std::uint64_t ticks_ = 0;
    mutable std::int64_t tick_ns_ = 0;
    mutable std::int64_t next_tick_ns_ = 0;
};

}  // namespace sim
