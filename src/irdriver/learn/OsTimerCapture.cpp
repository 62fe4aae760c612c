#include "irdriver/learn/OsTimerCapture.h"

#include "irdriver/OsTimerCounter.h"

namespace {

constexpr std::int64_t kSilenceMs = 200;
constexpr std::int64_t kSlowCarrierUs = 101;
constexpr std::int64_t kLongGapUs = 20'001;
constexpr std::int64_t kLongestMarkUs = 800'000;

}  // namespace

OsTimerCapture::OsTimerCapture(const ce::RegisterPage& timer, const ReceiveLine& line, std::uint32_t ticksPerMs)
    : timer_(timer), line_(line), ticksPerMs_(ticksPerMs) {}

std::uint32_t OsTimerCapture::Now() { return timer_.read32(OsTimerCounter::kOscr); }

bool OsTimerCapture::Silent(std::uint32_t lastEdge) { return Now() - lastEdge > kSilenceMs * ticksPerMs_; }

EdgeCapture::Result OsTimerCapture::Run(std::int32_t* buffer, const LearnDeadline& deadline,
                                        const std::function<void()>& onActivity) {
    const std::int64_t rate = ticksPerMs_;
    const EdgeCapture::Rules rules{1000, 4 * rate, kSlowCarrierUs, {1000, rate, kLongGapUs, kLongestMarkUs}, true};
    return EdgeCapture(line_, *this, rules).Run(buffer, deadline, onActivity);
}
