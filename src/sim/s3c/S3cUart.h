#pragma once
// An S3C24xx UART page as the infrared probe sees it: ULCON (+0x00) with its
// infrared-mode bit 0x40, which the platform's SETIR sets and CLRIR clears.

#include "sim/RegisterBlock.h"

namespace sim {

class S3cUart : public RegisterBlock {
public:
    static constexpr std::uint32_t kUlcon = 0x00;
    static constexpr std::uint32_t kInfrared = 0x40;

    S3cUart(Soc& soc, std::string name, std::uint32_t physical);
    void set_infrared(bool on) override;
};

}  // namespace sim
