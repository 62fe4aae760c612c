#pragma once
// PXA GPIO pins 32-63 as the infrared drivers use them: direction GPDR1, set and
// clear registers GPSR1/GPCR1, level GPLR1 and alternate functions GAFR1_L. The LED
// follows the transmit pin of the board's infrared UART while that pin is a
// general-purpose output; as a UART pin it is dark (the UART idles the line). The
// receive pin of the same UART (GPIO34, GPIO42 or GPIO46) reads the receiver's line.

#include "sim/RegisterBlock.h"

namespace sim {

class PxaGpio : public RegisterBlock {
public:
    static constexpr std::uint32_t kGplr1 = 0x04;
    static constexpr std::uint32_t kGpdr1 = 0x10;
    static constexpr std::uint32_t kGpsr1 = 0x1C;
    static constexpr std::uint32_t kGpcr1 = 0x28;
    static constexpr std::uint32_t kGafr1L = 0x5C;

    // `ir_uart` 1..3: FFUART (GPIO39), BTUART (GPIO43), STUART (GPIO47).
    PxaGpio(Soc& soc, std::uint32_t physical, int ir_uart);
    std::int64_t next_change(std::uint32_t offset) const override;

protected:
    std::uint32_t read_register(std::uint32_t offset) override;
    void write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) override;

private:
    void update_led();

    std::uint32_t pin_bit_;
    std::uint32_t function_mask_;
    std::uint32_t receive_bit_;
    std::uint32_t levels_ = 0;
};

}  // namespace sim
