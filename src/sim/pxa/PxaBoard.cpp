#include "sim/pxa/PxaBoard.h"

#include <memory>

#include "sim/Soc.h"
#include "sim/pxa/OsTimer.h"
#include "sim/pxa/PxaGpio.h"
#include "sim/pxa/PxaUart.h"

namespace sim {

void PxaBoard::build(Soc& soc) {
    const bool pxa27x = soc.profile().family == Family::pxa27x;
    soc.add(std::make_unique<OsTimer>(soc, 0x40A00000, Rate(pxa27x ? 3'250'000 : 3'686'400)));
    soc.add(std::make_unique<PxaGpio>(soc, 0x40E00000, soc.profile().ir_uart));
    auto& interrupts = soc.add(std::make_unique<RegisterBlock>(soc, "interrupt controller", 0x40D00000));
    interrupts.preset(0x04, 0x0C40F000);  // OS timer 0, GPIO, UARTs and LCD enabled
    interrupts.journal_register(0x04, "ICMR");
    soc.set_uart(1, soc.add(std::make_unique<PxaUart>(soc, "FFUART", 0x40100000)));
    soc.set_uart(2, soc.add(std::make_unique<PxaUart>(soc, "BTUART", 0x40200000)));
    soc.set_uart(3, soc.add(std::make_unique<PxaUart>(soc, "STUART", 0x40700000)));
}

}  // namespace sim
