#include "sim/s3c/S3cUart.h"

namespace sim {

S3cUart::S3cUart(Soc& soc, std::string name, std::uint32_t physical) : RegisterBlock(soc, std::move(name), physical) {
    preset(kUlcon, 0x03);  // 8N1
}

void S3cUart::set_infrared(bool on) { store(kUlcon, on ? (stored(kUlcon) | kInfrared) : (stored(kUlcon) & ~kInfrared)); }

}  // namespace sim
