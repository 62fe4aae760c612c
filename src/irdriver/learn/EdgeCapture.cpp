#include "irdriver/learn/EdgeCapture.h"

#include <algorithm>

#include "irdriver/IrResult.h"

std::uint16_t EdgeCapture::CarrierUs(std::uint32_t fourPeriodTicks, std::int64_t ticksPerMs) {
    const std::int64_t divisor = 4 * std::max<std::int64_t>(ticksPerMs, 1);
    return static_cast<std::uint16_t>(std::min<std::int64_t>((std::int64_t{fourPeriodTicks} * 1000 + divisor / 2) / divisor, 0xFFFF));
}

EdgeCapture::Result EdgeCapture::Run(std::int32_t* buffer, const LearnDeadline& deadline,
                                     const std::function<void()>& onActivity) {
    if (!line_.WaitLow(deadline)) return {kIrLearnTimeout, 0};
    onActivity();
    // The carrier from four whole periods; light that stops before them is no carrier.
    const auto nextPulse = [&] { return line_.WaitHigh(deadline) && line_.WaitLow(deadline); };
    if (!nextPulse()) return {kIrCarrierTooSlow, 0};
    const std::uint32_t t0 = counter_.Now();
    for (int cycle = 0; cycle < 4; ++cycle)
        if (!nextPulse()) return {kIrCarrierTooSlow, 0};
    const std::uint32_t t1 = counter_.Now();
    const std::uint32_t fourPeriods = t1 - t0;
    const std::int64_t period = (std::int64_t{fourPeriods} * rules_.carrierScale + rules_.carrierDivisor / 2) / rules_.carrierDivisor;
    if (period >= rules_.slowFrom) return {kIrCarrierTooSlow, period, fourPeriods};

    BurstRecorder recorder(buffer, rules_.recording, period);
    // t0 is the burst's second edge (the S3C starts its timer only once light is seen),
    // and edges within a burst are one period apart: the burst began a period earlier.
    recorder.Start(t0 - fourPeriods / 4, t1);
    std::uint32_t lastEdge = t1;
    for (;;) {
        line_.WaitHigh();
        const bool silent = !line_.WaitLowUnless([&] { return counter_.Silent(lastEdge); });
        const std::uint32_t now = counter_.Now();
        const BurstRecorder::Stop stop = recorder.Edge(now, silent);
        if (stop == BurstRecorder::Stop::markTooLong) {
            // Where the limit only ends the recording, nothing recorded is still a failure.
            return {rules_.markLimitFails || recorder.entries() == 0 ? kIrMarkTooLong : kIrOk, period, fourPeriods};
        }
        if (stop != BurstRecorder::Stop::none) return {kIrOk, period, fourPeriods};
        lastEdge = now;
    }
}
