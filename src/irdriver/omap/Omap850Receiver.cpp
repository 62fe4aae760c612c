#include "irdriver/omap/Omap850Receiver.h"

#include "irdriver/IrResult.h"
#include "irdriver/omap/MpuTimer.h"

namespace {

// MPU GPIO bank (+0x800 in its page).
constexpr ce::DWORD kDataInput = 0x800, kDirControl = 0x808, kIntMask = 0x810;
constexpr std::uint32_t kReceivePin = 0x40;
// Pin multiplexing in the configuration block.
constexpr ce::DWORD kPinMux = 0x7C;
constexpr std::uint32_t kMuxCleared = 0x2200, kMuxGpio = 0xCC00;
// Timer borrowing: 1. stopped and reset, 2. loaded with the full range, 3. free-running
// with auto-reload at the undivided clock, 4. started.
constexpr std::uint32_t kTimerReset = 0xFFFFFF00, kTimerFreeRunning = 0xFFFFFFE2, kFullRange = 0xFFFFFFFF;
// Timer 1 runs the operating system's tick: with all three running, timer 3 is taken
// (and put back), as the transmit engine does.
constexpr int kTimerOrder[3] = {3, 2, 1};
constexpr int kWhenAllBusy = 3;

constexpr std::int64_t kTicksPerMs = 6480;
constexpr std::uint32_t kSilenceTicks = 3'240'000;  // 500 ms
constexpr std::int64_t kSlowCarrierTicks = 655;      // 101 µs
constexpr std::int64_t kLongGapFrom = 129'601;       // over 20 ms
constexpr std::int64_t kLongestMark = 5'184'000;     // 800 ms
constexpr std::int32_t kLongestFirstMarkUs = 800'000;
constexpr std::uint16_t kSlowestCarrierUs = 100;

}  // namespace

std::uint32_t Omap850Receiver::Now() { return ~pages_.timers.read32(timerRead_); }

bool Omap850Receiver::Silent(std::uint32_t lastEdge) { return Now() - lastEdge > kSilenceTicks; }

Omap850Receiver::Result Omap850Receiver::Capture(std::int32_t* buffer, const LearnDeadline& deadline) {
    auto& gpio = pages_.gpio;
    const std::uint32_t savedDirection = gpio.read32(kDirControl), savedMask = gpio.read32(kIntMask);
    const std::uint32_t savedMux = pages_.configuration.read32(kPinMux);
    gpio.write32(kDirControl, savedDirection | kReceivePin);
    gpio.write32(kIntMask, savedMask | kReceivePin);
    pages_.configuration.write32(kPinMux, (savedMux & ~kMuxCleared) | kMuxGpio);
    const MpuTimer timer = MpuTimer::FirstIdle(pages_.timers, kTimerOrder, kWhenAllBusy);
    const std::uint32_t savedCntl = timer.Cntl(), savedLoad = timer.Load();
    timer.SetCntl(kTimerReset);
    timer.SetLoad(kFullRange);
    timer.SetCntl(kTimerFreeRunning);
    timer.SetCntl(timer.Cntl() | MpuTimer::kStart);
    timerRead_ = timer.ReadOffset();

    const ReceiveLine line(gpio, kDataInput, kReceivePin);
    const EdgeCapture::Rules rules{1, 4, kSlowCarrierTicks, {1, 1, kLongGapFrom, kLongestMark}, false};
    const EdgeCapture::Result result = EdgeCapture(line, *this, rules).Run(buffer, deadline, [] {});

    timer.SetCntl(timer.Cntl() & ~MpuTimer::kStart);
    timer.SetCntl(kTimerReset);
    timer.SetLoad(savedLoad);
    timer.SetCntl(savedCntl);
    pages_.configuration.write32(kPinMux, savedMux);
    gpio.write32(kIntMask, savedMask);
    gpio.write32(kDirControl, savedDirection);
    if (result.code != kIrOk) return {result.code, 0};

    BurstRecorder::Convert(buffer, 1000, kTicksPerMs);
    const std::uint16_t carrierUs = EdgeCapture::CarrierUs(result.fourPeriods, kTicksPerMs);
    if (buffer[0] >= kLongestFirstMarkUs + 1 || carrierUs > kSlowestCarrierUs) return {kIrMarkTooLong, carrierUs};
    return {kIrOk, carrierUs};
}
