#pragma once
// A PXA UART page as the infrared probe sees it: the infrared selection register ISR
// (+0x20, transmit/receive infrared bits 0-1) and IER (+0x04) with its unit-enable bit.
// The platform's SETIR sets both infrared bits; CLRIR clears them.

#include "sim/RegisterBlock.h"

namespace sim {

class PxaUart : public RegisterBlock {
public:
    static constexpr std::uint32_t kIer = 0x04;
    static constexpr std::uint32_t kIsr = 0x20;
    static constexpr std::uint32_t kUnitEnable = 0x40;

    PxaUart(Soc& soc, std::string name, std::uint32_t physical);
    void set_infrared(bool on) override;
};

}  // namespace sim
