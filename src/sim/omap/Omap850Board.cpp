#include "sim/omap/Omap850Board.h"

#include <memory>

#include "sim/Soc.h"
#include "sim/omap/MpuTimers.h"
#include "sim/omap/Omap850Gpio.h"

namespace sim {

namespace {

// The infrared UART of the OMAP850 (its MDR1 at +0x20 selects SIR mode on SETIR).
class Omap850IrUart : public RegisterBlock {
public:
    using RegisterBlock::RegisterBlock;
    void set_infrared(bool on) override { store(0x20, on ? 0x01 : 0x07); }
};

}  // namespace

void Omap850Board::build(Soc& soc) {
    soc.set_uart(3, soc.add(std::make_unique<Omap850IrUart>(soc, "infrared UART", 0xFFFB0000)));
    soc.add(std::make_unique<MpuTimers>(soc, 0xFFFEC000, 12'960'000));
    auto& configuration = soc.add(std::make_unique<RegisterBlock>(soc, "configuration", 0xFFFE1000));
    configuration.preset(0x7C, 0x00002200);
    configuration.journal_register(0x7C, "CONF 0x7C");
    soc.add(std::make_unique<Omap850Gpio>(soc, 0xFFFBC000, configuration));
    soc.set_uart(1, soc.add(std::make_unique<RegisterBlock>(soc, "UART1", 0xFFFB9000)));
}

}  // namespace sim
