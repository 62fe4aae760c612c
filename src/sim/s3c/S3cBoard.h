#pragma once
// S3C24xx: PWM timers 0x51000000, GPIO 0x56000000, interrupt controller 0x4A000000,
// clock and power 0x4C000000 (CLKDIVN +0x14), UART0/1/2 at 0x50000000/4000/8000.

namespace sim {

class Soc;

class S3cBoard {
public:
    static void build(Soc& soc);
};

}  // namespace sim
