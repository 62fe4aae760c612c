#include "sim/omap/Omap1510Board.h"

#include <memory>

#include "sim/Soc.h"
#include "sim/omap/MpuTimers.h"
#include "sim/omap/Omap1510Uart3.h"

namespace sim {

void Omap1510Board::build(Soc& soc) {
    soc.set_uart(3, soc.add(std::make_unique<Omap1510Uart3>(soc, 0xFFFB9000)));
    soc.add(std::make_unique<MpuTimers>(soc, 0xFFFEC000, 12'152'000));
    auto& configuration = soc.add(std::make_unique<RegisterBlock>(soc, "configuration", 0xFFFE1000));
    configuration.preset(0x18, 0x00000A40);
    configuration.preset(0x80, 0x00000001);
    configuration.journal_register(0x18, "CONF 0x18");
    configuration.journal_register(0x80, "CONF 0x80");
    soc.set_uart(1, soc.add(std::make_unique<RegisterBlock>(soc, "UART1", 0xFFFB0000)));
}

}  // namespace sim
