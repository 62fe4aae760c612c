#include "sim/pxa/PxaGpio.h"

#include "sim/Soc.h"

namespace sim {

namespace {

struct UartPins {
    std::uint32_t bit;
    std::uint32_t function_mask;
    std::uint32_t receive_bit;
};

constexpr UartPins kPins[] = {{0, 0, 0}, {0x80, 0xC000, 0x04}, {0x800, 0xC00000, 0x400}, {0x8000, 0xC0000000, 0x4000}};

int pins_of(int ir_uart) { return ir_uart >= 1 && ir_uart <= 3 ? ir_uart : 0; }

}  // namespace

PxaGpio::PxaGpio(Soc& soc, std::uint32_t physical, int ir_uart)
    : RegisterBlock(soc, "GPIO", physical),
      pin_bit_(kPins[pins_of(ir_uart)].bit),
      function_mask_(kPins[pins_of(ir_uart)].function_mask),
      receive_bit_(kPins[pins_of(ir_uart)].receive_bit) {
    // As the boot loader leaves them: the UART transmit pins are outputs in their UART
    // functions (FFTXD and BTTXD alternate function 2, STTXD 1).
    preset(kGpdr1, 0x0000A981);
    preset(kGafr1L, 0x40808010);
    journal_register(kGpdr1, "GPDR1");
    journal_register(kGafr1L, "GAFR1_L");
}

std::uint32_t PxaGpio::read_register(std::uint32_t offset) {
    if (offset == kGplr1) {
        const bool high = receive_bit_ != 0 && soc().receiver().sample_high(now());
        return (levels_ & ~receive_bit_) | (high ? receive_bit_ : 0);
    }
    if (offset == kGpsr1 || offset == kGpcr1) return 0;
    return stored(offset);
}

std::int64_t PxaGpio::next_change(std::uint32_t offset) const {
    return offset == kGplr1 ? soc().receiver().next_edge(now()) : kNever;
}

void PxaGpio::write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) {
    if (offset == kGpsr1) levels_ |= value & lanes;
    else if (offset == kGpcr1) levels_ &= ~(value & lanes);
    else if (offset != kGplr1) RegisterBlock::write_register(offset, value, lanes);
    update_led();
}

void PxaGpio::update_led() {
    const bool general_purpose = (stored(kGafr1L) & function_mask_) == 0;
    const bool output = (stored(kGpdr1) & pin_bit_) != 0;
    soc().set_led(pin_bit_ != 0 && general_purpose && output && (levels_ & pin_bit_) != 0, now());
}

}  // namespace sim
