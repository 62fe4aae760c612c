#pragma once
// PXA250/255/26x and PXA27x: OS timer 0x40A00000 (3.6864 MHz, PXA27x 3.25 MHz),
// GPIO 0x40E00000, interrupt controller 0x40D00000 (ICMR +0x04), FFUART 0x40100000,
// BTUART 0x40200000, STUART 0x40700000.

namespace sim {

class Soc;

class PxaBoard {
public:
    static void build(Soc& soc);
};

}  // namespace sim
