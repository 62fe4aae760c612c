#pragma once
// S3C24xx GPIO port H: GPHCON (+0x70, two bits per pin: 00 input, 01 output, 10 UART)
// and GPHDAT (+0x74). The LED hangs on the infrared UART's TXD pin (UART0 GPH2,
// UART1 GPH4, UART2 GPH6) and lights while that pin is an output driven high. The
// UART's receive pin (GPH3, GPH5, GPH7) reads the infrared receiver's line in GPHDAT
// while it is an input.

#include "sim/RegisterBlock.h"

namespace sim {

class S3cGpio : public RegisterBlock {
public:
    static constexpr std::uint32_t kGphcon = 0x70;
    static constexpr std::uint32_t kGphdat = 0x74;

    S3cGpio(Soc& soc, std::uint32_t physical, int ir_uart);
    std::int64_t next_change(std::uint32_t offset) const override;

protected:
    std::uint32_t read_register(std::uint32_t offset) override;
    void write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) override;

private:
    bool receiving() const;

    unsigned pin_ = 0;
};

}  // namespace sim
