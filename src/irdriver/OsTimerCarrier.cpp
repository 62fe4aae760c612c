#include "irdriver/OsTimerCarrier.h"

#include <cmath>

std::uint32_t OsTimerCarrier::Round(float ticks) {
    const float whole = std::floor(ticks);
    const auto rounded = static_cast<std::uint32_t>(whole);
    return ticks - whole > 0.4f ? rounded + 1 : rounded;
}

void OsTimerCarrier::Set(float ticks) {
    const std::uint32_t period = Round(ticks);
    low_ = period / 2;
    high_ = period - low_;
}
