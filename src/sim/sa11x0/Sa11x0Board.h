#pragma once
// SA-11x0: OS timer 0x90000000 (3.6864 MHz), interrupt controller 0x90050000 (ICMR
// +0x04), pin controller 0x90060000, serial port 1 0x80010000, serial port 2 (infrared)
// 0x80030000, serial port 3 0x80050000.

namespace sim {

class Soc;

class Sa11x0Board {
public:
    static void build(Soc& soc);
};

}  // namespace sim
