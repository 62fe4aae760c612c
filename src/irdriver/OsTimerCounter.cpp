#include "irdriver/OsTimerCounter.h"

namespace {

constexpr std::uint64_t kStep = 0x40000000;  // a quarter of the counter's range

}  // namespace

void OsTimerCounter::WaitTicks(std::uint64_t ticks) const {
    if (ticks == 0) return;  // a space of 0 takes no time
    std::uint32_t target = Now();
    for (; ticks > kStep; ticks -= kStep) {
        target += static_cast<std::uint32_t>(kStep);
        WaitUntil(target);
    }
    WaitUntil(target + static_cast<std::uint32_t>(ticks));
}
