#include "irdriver/learn/EdgeCapture.h"

#include "irdriver/IrResult.h"

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
    const std::int64_t period = std::int64_t{t1 - t0} * rules_.carrierScale / rules_.carrierDivisor;
    if (period >= rules_.slowFrom) return {kIrCarrierTooSlow, period};

    BurstRecorder recorder(buffer, rules_.recording, period);
    recorder.Start(t0, t1);
    std::uint32_t lastEdge = t1;
    for (;;) {
        line_.WaitHigh();
        const bool silent = !line_.WaitLowUnless([&] { return counter_.Silent(lastEdge); });
        const std::uint32_t now = counter_.Now();
        const BurstRecorder::Stop stop = recorder.Edge(now, silent);
        if (stop == BurstRecorder::Stop::markTooLong) {
            // Where the limit only ends the recording, nothing recorded is still a failure.
            return {rules_.markLimitFails || recorder.entries() == 0 ? kIrMarkTooLong : kIrOk, period};
        }
        if (stop != BurstRecorder::Stop::none) return {kIrOk, period};
        lastEdge = now;
    }
}
