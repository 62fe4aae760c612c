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

void Omap850Gpio::write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) {
    RegisterBlock::write_register(offset, value, lanes);
    const bool gpio_function = (configuration_.read(kPinMux, 32) & 0xEE00) == 0xCC00;
    const bool output = (stored(kDirControl) & kPin) == 0;
    soc().set_led(gpio_function && output && (stored(kDataOutput) & kPin) != 0, now());
}

}  // namespace sim
