#pragma once
// OMAP850: the infrared UART page 0xFFFB0000, MPU timers 0xFFFEC000 (12.96 MHz input:
// 6.48 MHz at PTV 0), MPU GPIO 0xFFFBC000, configuration registers 0xFFFE1000
// (pin multiplexing +0x7C), UART1 0xFFFB9000.

namespace sim {

class Soc;

class Omap850Board {
public:
    static void build(Soc& soc);
};

}  // namespace sim
