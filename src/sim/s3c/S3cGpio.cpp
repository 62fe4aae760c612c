#include "sim/s3c/S3cGpio.h"

#include "sim/Soc.h"

namespace sim {

S3cGpio::S3cGpio(Soc& soc, std::uint32_t physical, int ir_uart)
    : RegisterBlock(soc, "GPIO", physical), pin_(ir_uart >= 1 && ir_uart <= 3 ? 2u * static_cast<unsigned>(ir_uart) : 0) {
    preset(kGphcon, 0x0000AAA0);  // GPH2..GPH7 in their UART functions
    journal_register(kGphcon, "GPHCON");
}

// The receive pin is the one above the transmit pin; it reads the line as an input (00).
bool S3cGpio::receiving() const { return pin_ != 0 && ((stored(kGphcon) >> (2 * (pin_ + 1))) & 3) == 0; }

std::uint32_t S3cGpio::read_register(std::uint32_t offset) {
    if (offset != kGphdat || !receiving()) return stored(offset);
    const std::uint32_t bit = 1u << (pin_ + 1);
    return (stored(kGphdat) & ~bit) | (soc().receiver().sample_high(now()) ? bit : 0);
}

std::int64_t S3cGpio::next_change(std::uint32_t offset) const {
    return offset == kGphdat && receiving() ? soc().receiver().next_edge(now()) : kNever;
}

void S3cGpio::write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) {
    RegisterBlock::write_register(offset, value, lanes);
    const bool output = pin_ != 0 && ((stored(kGphcon) >> (2 * pin_)) & 3) == 1;
    soc().set_led(output && (stored(kGphdat) & (1u << pin_)) != 0, now());
}

}  // namespace sim
