#include "sim/s3c/S3cBoard.h"

#include <memory>

#include "sim/Soc.h"
#include "sim/s3c/PwmTimers.h"
#include "sim/s3c/S3cGpio.h"
#include "sim/s3c/S3cInterrupts.h"
#include "sim/s3c/S3cUart.h"

namespace sim {

void S3cBoard::build(Soc& soc) {
    auto& clocks = soc.add(std::make_unique<RegisterBlock>(soc, "clock and power", 0x4C000000));
    clocks.preset(0x14, soc.profile().clkdivn);
    auto timers = std::make_unique<PwmTimers>(soc, 0x51000000, clocks);
    const PwmTimers& pwm = *timers;
    soc.add(std::move(timers));
    soc.add(std::make_unique<S3cInterrupts>(soc, 0x4A000000, pwm));
    soc.add(std::make_unique<S3cGpio>(soc, 0x56000000, soc.profile().ir_uart));
    soc.set_uart(1, soc.add(std::make_unique<S3cUart>(soc, "UART0", 0x50000000)));
    soc.set_uart(2, soc.add(std::make_unique<S3cUart>(soc, "UART1", 0x50004000)));
    soc.set_uart(3, soc.add(std::make_unique<S3cUart>(soc, "UART2", 0x50008000)));
}

}  // namespace sim
