#include "sim/sa11x0/PinController.h"

#include "sim/Soc.h"

namespace sim {

PinController::PinController(Soc& soc, std::uint32_t physical) : RegisterBlock(soc, "pin controller", physical) {
    preset(kPpdr, 0x000015A0);  // LCD and serial pins as the boot loader set them; TXD2 with its port
    journal_register(kPpdr, "PPDR");
}

std::uint32_t PinController::read_register(std::uint32_t offset) {
    if (offset != kPpsr) return stored(offset);
    return (stored(kPpsr) & ~kRxd2) | (soc().receiver().sample_high(now()) ? kRxd2 : 0);
}

std::int64_t PinController::next_change(std::uint32_t offset) const {
    return offset == kPpsr ? soc().receiver().next_edge(now()) : kNever;
}

void PinController::write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) {
    RegisterBlock::write_register(offset, value, lanes);
    soc().set_led((stored(kPpdr) & kTxd2) != 0 && (stored(kPpsr) & kTxd2) != 0, now());
}

}  // namespace sim
