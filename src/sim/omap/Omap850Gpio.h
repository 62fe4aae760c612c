#pragma once
// OMAP850 MPU GPIO bank (page 0xFFFBC000, bank registers from +0x800): DATA_OUTPUT
// (+0x04), DIR_CONTROL (+0x08, 1 = input), INT_MASK (+0x10). The LED hangs on pin bit
// 0x20; it lights while that pin is an output driven high and the pin-multiplexing
// register (configuration block +0x7C) gives the pin to the GPIO bank (bits 0xEE00
// reading 0xCC00). DATA_INPUT (+0x00) bit 0x40 reads the infrared receiver's line.

#include "sim/RegisterBlock.h"

namespace sim {

class Omap850Gpio : public RegisterBlock {
public:
    static constexpr std::uint32_t kDataInput = 0x800;
    static constexpr std::uint32_t kReceivePin = 0x40;
    static constexpr std::uint32_t kDataOutput = 0x804;
    static constexpr std::uint32_t kDirControl = 0x808;
    static constexpr std::uint32_t kIntMask = 0x810;
    static constexpr std::uint32_t kPin = 0x20;
    static constexpr std::uint32_t kPinMux = 0x7C;

    Omap850Gpio(Soc& soc, std::uint32_t physical, RegisterBlock& configuration);
    std::int64_t next_change(std::uint32_t offset) const override;

protected:
    std::uint32_t read_register(std::uint32_t offset) override;
    void write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) override;

private:
    RegisterBlock& configuration_;
};

}  // namespace sim
