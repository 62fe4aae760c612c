#pragma once
// SA-11x0 serial port 2 (the infrared port): UTCR0 (+0x00) as the transmit engine saves
// and rewrites it, and UTCR4 (+0x10) whose HSE bit the platform's SETIR sets.

#include "sim/RegisterBlock.h"

namespace sim {

class SerialPort2 : public RegisterBlock {
public:
    static constexpr std::uint32_t kUtcr0 = 0x00;
    static constexpr std::uint32_t kUtcr4 = 0x10;

    SerialPort2(Soc& soc, std::uint32_t physical);
    void set_infrared(bool on) override;
};

}  // namespace sim
