#include "signals/InfraredSignal.h"

namespace handheld {

std::vector<std::int32_t> InfraredSignal::durations() const {
    std::vector<std::int32_t> all = intro;
    all.insert(all.end(), repeat.begin(), repeat.end());
    return all;
}

std::uint16_t InfraredSignal::carrier_us() const {
    return carrier_hz == 0 ? 0 : static_cast<std::uint16_t>((1'000'000 + carrier_hz / 2) / carrier_hz);
}

std::string InfraredSignal::close_frame() {
    auto& last = repeat.empty() ? intro : repeat;
    if (last.empty() || last.back() < 0) return {};
    last.push_back(-kClosingGapUs);
    return "the signal ends with a pulse: a space of 125000 us was added after it, so passes stay apart";
}

}  // namespace handheld
