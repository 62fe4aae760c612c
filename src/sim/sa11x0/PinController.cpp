#include "sim/sa11x0/PinController.h"

#include "sim/Soc.h"

namespace sim {

PinController::PinController(Soc& soc, std::uint32_t physical) : RegisterBlock(soc, "pin controller", physical) {
    preset(kPpdr, 0x000015A0);  // LCD and serial pins as the boot loader set them; TXD2 with its port
    journal_register(kPpdr, "PPDR");
}

void PinController::write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) {
    RegisterBlock::write_register(offset, value, lanes);
    soc().set_led((stored(kPpdr) & kTxd2) != 0 && (stored(kPpsr) & kTxd2) != 0, now());
}

}  // namespace sim
