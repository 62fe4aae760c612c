#include "irdriver/learn/BurstRecorder.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t kPeriodsPerGap = 5;  // a pause longer than five periods ends a mark

std::int32_t Clamped(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, -std::numeric_limits<std::int32_t>::max(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

BurstRecorder::BurstRecorder(std::int32_t* buffer, const Rules& rules, std::int64_t period)
    : buffer_(buffer), rules_(rules), period_(period) {}

std::int64_t BurstRecorder::ToEntry(std::uint32_t ticks) const {
    return std::int64_t{ticks} * rules_.scale / rules_.divisor;
}

void BurstRecorder::Start(std::uint32_t burstStart, std::uint32_t lastEdge) {
    burstStart_ = burstStart;
    lastEdge_ = lastEdge;
}

BurstRecorder::Stop BurstRecorder::Edge(std::uint32_t now, bool silent) {
    const std::int64_t gap = ToEntry(now - lastEdge_);
    if (gap > kPeriodsPerGap * period_) {
        // An edge is where a carrier cycle begins, so the last edge opens the mark's last
        // cycle and the remote's pulse ends somewhere within it. Measured edge to edge the
        // mark came out a cycle short and the space a cycle long; the middle of that cycle
        // is the nearest guess for both, at most half a period off.
        const std::int64_t mark = ToEntry(lastEdge_ - burstStart_) + period_ / 2;
        if (mark > rules_.markLimit) return Stop::markTooLong;
        buffer_[entries_] = Clamped(mark);
        if (!silent) buffer_[entries_ + 1] = -Clamped(std::max<std::int64_t>(gap - period_ / 2, 1));
        const bool lastLongGap = gap >= rules_.longGapFrom && ++longGaps_ == kLongGapsToStop;
        entries_ += 2;
        burstStart_ = now;
        if (lastLongGap) return Stop::longGaps;
    }
    if (silent) return Stop::silence;
    if (entries_ >= kEntries - 1) return Stop::full;
    lastEdge_ = now;
    return Stop::none;
}

void BurstRecorder::Convert(std::int32_t* buffer, std::int64_t scale, std::int64_t divisor) {
    for (int i = 0; i < kEntries && buffer[i] != 0; ++i) buffer[i] = Clamped(std::int64_t{buffer[i]} * scale / divisor);
}
