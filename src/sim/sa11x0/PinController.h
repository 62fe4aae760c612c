#pragma once
// The SA-11x0 peripheral pin controller: PPDR (+0x00, 1 = output) and PPSR (+0x04,
// pin state). The infrared LED hangs on TXD2 (bit 0x4000); it lights while TXD2 is a
// controller output driven high, and stays dark while serial port 2 owns the pin.
// RXD2 (PPSR bit 0x8000) reads the infrared receiver's line.

#include "sim/RegisterBlock.h"

namespace sim {

class PinController : public RegisterBlock {
public:
    static constexpr std::uint32_t kPpdr = 0x00;
    static constexpr std::uint32_t kPpsr = 0x04;
    static constexpr std::uint32_t kTxd2 = 0x4000;
    static constexpr std::uint32_t kRxd2 = 0x8000;

    PinController(Soc& soc, std::uint32_t physical);
    std::int64_t next_change(std::uint32_t offset) const override;

protected:
    std::uint32_t read_register(std::uint32_t offset) override;
    void write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) override;
};

}  // namespace sim
