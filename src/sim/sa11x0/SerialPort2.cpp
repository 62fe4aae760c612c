#include "sim/sa11x0/SerialPort2.h"

namespace sim {

SerialPort2::SerialPort2(Soc& soc, std::uint32_t physical) : RegisterBlock(soc, "serial port 2", physical) {
    preset(kUtcr0, 0x08);  // 8 data bits, no parity, one stop bit
    journal_register(kUtcr0, "UTCR0");
}

void SerialPort2::set_infrared(bool on) { store(kUtcr4, on ? (stored(kUtcr4) | 0x01) : (stored(kUtcr4) & ~0x01u)); }

}  // namespace sim
