#pragma once
// OMAP1510: UART3 0xFFFB9000, MPU timers 0xFFFEC000 (12.152 MHz input: 3.038 MHz at
// PTV 1), configuration registers 0xFFFE1000, UART1 0xFFFB0000.

namespace sim {

class Soc;

class Omap1510Board {
public:
    static void build(Soc& soc);
};

}  // namespace sim
