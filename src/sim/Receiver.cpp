#include "sim/Receiver.h"

#include <algorithm>
#include <cstdlib>

namespace sim {

namespace {

// However long a press is held, its playback stays a bounded list.
constexpr std::size_t kMostBursts = 1u << 20;

}  // namespace

void Receiver::new_session() {
    taken_ = false;
    bursts_.clear();
}

bool Receiver::sample_high(std::int64_t ns) {
    take(ns);
    return high(ns);
}

void Receiver::take(std::int64_t ns) {
    if (taken_) return;
    taken_ = true;
    if (!source_) return;
    if (const auto press = source_()) load(*press, ns);
}

void Receiver::load(const InfraredPress& press, std::int64_t ns) {
    taken_ = true;
    bursts_.clear();
    const std::int64_t hz = press.carrier_hz == 0 ? 38'000 : press.carrier_hz;
    period_ns_ = std::max<std::int64_t>(2, (1'000'000'000 + hz / 2) / hz);
    on_ns_ = std::clamp<std::int64_t>(period_ns_ * std::min(press.duty_percent, 100u) / 100, 1, period_ns_ - 1);
    std::int64_t t = ns + std::max<std::int64_t>(press.after_ns, 0);
    const std::int64_t release = t + std::max<std::int64_t>(press.hold_ns, 0);
    auto play = [&](const std::vector<std::int32_t>& entries) {
        for (const std::int32_t entry : entries) {
            const std::int64_t length = std::abs(std::int64_t{entry}) * 1000;
            if (entry > 0 && bursts_.size() < kMostBursts)
                bursts_.push_back({t, t + length, (length + period_ns_ - 1) / period_ns_});
            t += length;
        }
    };
    play(press.intro);
    std::int64_t frame_ns = 0;
    for (const std::int32_t entry : press.repeat) frame_ns += std::abs(std::int64_t{entry});
    if (frame_ns == 0) return;
    // A remote sends its repeat frame at least once when there is no lead-in, and
    // starts another for as long as the button is down.
    bool first = press.intro.empty();
    while ((first || t < release) && bursts_.size() < kMostBursts) {
        play(press.repeat);
        first = false;
    }
}

std::size_t Receiver::burst_from(std::int64_t ns) const {
    const auto after = std::upper_bound(bursts_.begin(), bursts_.end(), ns,
                                        [](std::int64_t at, const Burst& burst) { return at < burst.start; });
    return static_cast<std::size_t>(after - bursts_.begin());  // the first burst starting after ns
}

bool Receiver::high(std::int64_t ns) const {
    const std::size_t next = burst_from(ns);
    if (next == 0) return true;
    const Burst& burst = bursts_[next - 1];
    const std::int64_t k = (ns - burst.start) / period_ns_;
    return k >= burst.pulses || ns - (burst.start + k * period_ns_) >= on_ns_;
}

std::int64_t Receiver::next_edge(std::int64_t ns) const { return std::min(next_level_change(ns), ns + kPollStepNs); }

std::int64_t Receiver::next_level_change(std::int64_t ns) const {
    const std::size_t next = burst_from(ns);
    if (next > 0) {
        const Burst& burst = bursts_[next - 1];
        const std::int64_t k = (ns - burst.start) / period_ns_;
        if (k < burst.pulses) {
            const std::int64_t pulse = burst.start + k * period_ns_;
            if (ns < pulse + on_ns_) return pulse + on_ns_;
            if (k + 1 < burst.pulses) return pulse + period_ns_;
        }
    }
    return next < bursts_.size() ? bursts_[next].start : kNever;
}

std::int64_t Receiver::next_fall(std::int64_t ns) const {
    const std::size_t next = burst_from(ns);
    if (next > 0) {
        const Burst& burst = bursts_[next - 1];
        const std::int64_t k = (ns - burst.start) / period_ns_ + 1;
        if (k < burst.pulses) return burst.start + k * period_ns_;
    }
    return next < bursts_.size() ? bursts_[next].start : kNever;
}

std::int64_t Receiver::end_ns() const {
    if (bursts_.empty()) return 0;
    const Burst& last = bursts_.back();
    return last.start + (last.pulses - 1) * period_ns_ + on_ns_;
}

}  // namespace sim
