#include "sim/omap/Omap850Gpio.h"

#include "sim/Soc.h"

namespace sim {

Omap850Gpio::Omap850Gpio(Soc& soc, std::uint32_t physical, RegisterBlock& configuration)
    : RegisterBlock(soc, "MPU GPIO", physical), configuration_(configuration) {
    preset(kDirControl, 0xFFFF);  // every pin an input
    preset(kIntMask, 0xFF9F);     // pins 5 and 6 unmasked, as the platform uses them
    journal_register(kDirControl, "GPIO DIR_CONTROL");
    journal_register(kIntMask, "GPIO INT_MASK");
}

std::uint32_t Omap850Gpio::read_register(std::uint32_t offset) {
    if (offset != kDataInput) return stored(offset);
    return (stored(kDataInput) & ~kReceivePin) | (soc().receiver().sample_high(now()) ? kReceivePin : 0);
}

std::int64_t Omap850Gpio::next_change(std::uint32_t offset) const {
    return offset == kDataInput ? soc().receiver().next_edge(now()) : kNever;
}

void Omap850Gpio::write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) {
    RegisterBlock::write_register(offset, value, lanes);
    const bool gpio_function = (configuration_.read(kPinMux, 32) & 0xEE00) == 0xCC00;
    const bool output = (stored(kDirControl) & kPin) == 0;
    soc().set_led(gpio_function && output && (stored(kDataOutput) & kPin) != 0, now());
}

}  // namespace sim
