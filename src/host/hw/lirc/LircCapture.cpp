#include "host/hw/lirc/LircCapture.h"

#include <linux/lirc.h>

#include <algorithm>

namespace host::hw {

namespace {

constexpr std::int32_t kLongestEntry = 0x7FFFFFFF;

}  // namespace

bool LircCapture::add(std::uint32_t sample, std::int64_t arrival_ns) {
    if (done_) return false;
    const std::uint32_t value = LIRC_VALUE(sample);
    switch (LIRC_MODE2(sample)) {
        case LIRC_MODE2_PULSE:
            if (entries_.empty()) first_pulse_ns_ = arrival_ns - std::int64_t{value} * 1000;
            if (!entries_.empty() && entries_.back() > 0)
                entries_.back() = static_cast<std::int32_t>(std::min<std::int64_t>(kLongestEntry, std::int64_t{entries_.back()} + value));
            else if (value > 0) entries_.push_back(static_cast<std::int32_t>(value));
            break;
        case LIRC_MODE2_SPACE:
            if (entries_.empty() || value == 0) break;
            if (value >= kEndSpaceUs) {
                done_ = true;
                break;
            }
            if (entries_.back() < 0) entries_.back() -= static_cast<std::int32_t>(value);
            else entries_.push_back(-static_cast<std::int32_t>(value));
            break;
        case LIRC_MODE2_FREQUENCY:
            if (value > 0) measured_hz_ = value;
            break;
        case LIRC_MODE2_TIMEOUT: done_ = !entries_.empty(); break;
        case LIRC_MODE2_OVERFLOW:
            overflowed_ = true;
            done_ = true;
            break;
        default: break;  // a kind this bridge does not know says nothing about the press
    }
    if (entries_.size() >= kMostEntries) done_ = true;
    return !done_;
}

sim::InfraredPress LircCapture::press(std::int64_t after_ns) const {
    sim::InfraredPress press;
    press.intro = entries_;
    if (!press.intro.empty() && press.intro.back() < 0) press.intro.pop_back();
    press.carrier_hz = measured_hz_.value_or(kAssumedCarrierHz);
    press.after_ns = std::max<std::int64_t>(0, after_ns);
    return press;
}

}  // namespace host::hw
