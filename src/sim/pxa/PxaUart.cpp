#include "sim/pxa/PxaUart.h"

namespace sim {

PxaUart::PxaUart(Soc& soc, std::string name, std::uint32_t physical) : RegisterBlock(soc, std::move(name), physical) {
    preset(kIer, kUnitEnable);
}

void PxaUart::set_infrared(bool on) {
    store(kIsr, on ? (stored(kIsr) | 0x03) : (stored(kIsr) & ~0x03u));
    if (on) store(kIer, stored(kIer) | kUnitEnable);
}

}  // namespace sim
