#include "sim/sa11x0/Sa11x0Board.h"

#include <memory>

#include "sim/Soc.h"
#include "sim/pxa/OsTimer.h"
#include "sim/sa11x0/PinController.h"
#include "sim/sa11x0/SerialPort2.h"

namespace sim {

void Sa11x0Board::build(Soc& soc) {
    soc.add(std::make_unique<OsTimer>(soc, 0x90000000, Rate(3'686'400)));
    auto& interrupts = soc.add(std::make_unique<RegisterBlock>(soc, "interrupt controller", 0x90050000));
    interrupts.preset(0x04, 0x04000800);
    interrupts.journal_register(0x04, "ICMR");
    soc.add(std::make_unique<PinController>(soc, 0x90060000));
    soc.set_uart(1, soc.add(std::make_unique<RegisterBlock>(soc, "serial port 1", 0x80010000)));
    soc.set_uart(2, soc.add(std::make_unique<SerialPort2>(soc, 0x80030000)));
    soc.set_uart(3, soc.add(std::make_unique<RegisterBlock>(soc, "serial port 3", 0x80050000)));
}

}  // namespace sim
