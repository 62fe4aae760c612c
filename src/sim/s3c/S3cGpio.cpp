#include "sim/s3c/S3cGpio.h"

#include "sim/Soc.h"

namespace sim {

S3cGpio::S3cGpio(Soc& soc, std::uint32_t physical, int ir_uart)
    : RegisterBlock(soc, "GPIO", physical), pin_(ir_uart >= 1 && ir_uart <= 3 ? 2u * static_cast<unsigned>(ir_uart) : 0) {
    preset(kGphcon, 0x0000AAA0);  // GPH2..GPH7 in their UART functions
    journal_register(kGphcon, "GPHCON");
}

void S3cGpio::write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) {
    RegisterBlock::write_register(offset, value, lanes);
    const bool output = pin_ != 0 && ((stored(kGphcon) >> (2 * pin_)) & 3) == 1;
    soc().set_led(output && (stored(kGphdat) & (1u << pin_)) != 0, now());
}

}  // namespace sim
