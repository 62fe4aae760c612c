#include "irdriver/TickConversion.h"

#include <algorithm>
#include <limits>

namespace {

// value × numerator / denominator toward zero, without overflow for any int32 value and
// any ratio the drivers use (numerators and denominators below 2^31).
std::int64_t Scaled(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
    if (denominator == 0) return 0;
    __extension__ typedef __int128 Wide;
    const Wide product = Wide(value) * numerator / denominator;
    const Wide limit = std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(std::clamp<Wide>(product, -limit, limit));
}

}  // namespace

std::int32_t TickConversion::Scale(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(Scaled(value, numerator, denominator), -kLimit, kLimit));
}

std::uint16_t TickConversion::ScalePeriod(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
    return static_cast<std::uint16_t>(std::clamp<std::int64_t>(Scaled(value, numerator, denominator), 0, 0xFFFF));
}
