#include "sim/TraceDecoder.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

struct Pulse {
    std::int64_t rise = 0;
    std::int64_t fall = 0;
};

double median(std::vector<std::int64_t> values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return static_cast<double>(*middle);
}

std::vector<Pulse> pulses_of(const Transmission& transmission) {
    std::vector<Pulse> pulses;
    for (const Edge& edge : transmission.edges) {
        if (edge.on) pulses.push_back({edge.ns, -1});
        else if (!pulses.empty() && pulses.back().fall < 0) pulses.back().fall = edge.ns;
    }
    // A line still lit at the end counts as lit until the end.
    if (!pulses.empty() && pulses.back().fall < 0) pulses.back().fall = std::max(transmission.end_ns, pulses.back().rise);
    return pulses;
}

}  // namespace

std::uint32_t DecodedTrace::carrier_hz() const {
    return period_ns > 0 ? static_cast<std::uint32_t>(std::lround(1e9 / period_ns)) : 0;
}

std::size_t DecodedTrace::marks() const {
    return static_cast<std::size_t>(std::count_if(segments.begin(), segments.end(), [](const auto& s) { return s.mark; }));
}

std::string DecodedTrace::mode2() const {
    std::string text = "carrier " + std::to_string(carrier_hz()) + '\n';
    for (const auto& segment : segments)
        text += (segment.mark ? "pulse " : "space ") + std::to_string(std::llround(static_cast<double>(segment.ns) / 1000.0)) + '\n';
    return text;
}

DecodedTrace TraceDecoder::decode(const Transmission& transmission) {
    DecodedTrace decoded;
    const auto pulses = pulses_of(transmission);
    if (pulses.empty()) return decoded;

    std::vector<std::int64_t> periods;
    std::vector<std::int64_t> ons;
    for (std::size_t i = 0; i < pulses.size(); ++i) {
        if (i + 1 < pulses.size() && pulses[i + 1].rise - pulses[i].rise <= kLongestCarrierPeriodNs)
            periods.push_back(pulses[i + 1].rise - pulses[i].rise);
        ons.push_back(pulses[i].fall - pulses[i].rise);
    }
    decoded.period_ns = median(periods);
    decoded.on_ns = median(ons);
    if (decoded.period_ns > 0) decoded.duty = decoded.on_ns / decoded.period_ns;
    const double off_half = std::max(0.0, decoded.period_ns - decoded.on_ns);
    const double split = decoded.period_ns > 0 ? std::min<double>(2 * decoded.period_ns, kLongestCarrierPeriodNs)
                                               : kLongestCarrierPeriodNs;

    std::int64_t mark_start = pulses.front().rise;
    std::uint32_t cycles = 0;
    // What follows the last mark up to the end of the transmission is the engine tidying
    // up, unless it lasts longer than a carrier period: only then is it the signal's space.
    const auto tail = static_cast<std::int64_t>(std::llround(decoded.period_ns));
    auto close_mark = [&](std::size_t last, std::int64_t next_rise, bool final) {
        const auto end = std::min<std::int64_t>(pulses[last].fall + std::llround(off_half), next_rise);
        decoded.segments.push_back({true, end - mark_start, cycles});
        if (next_rise - end > (final ? tail : 0)) decoded.segments.push_back({false, next_rise - end, 0});
    };
    for (std::size_t i = 0; i < pulses.size(); ++i) {
        ++cycles;
        const bool last = i + 1 == pulses.size();
        const std::int64_t next_rise = last ? std::max(transmission.end_ns, pulses[i].fall) : pulses[i + 1].rise;
        if (!last && static_cast<double>(next_rise - pulses[i].fall) <= split) continue;
        close_mark(i, next_rise, last);
        if (!last) {
            mark_start = next_rise;
            cycles = 0;
        }
    }
    return decoded;
}

}  // namespace sim
