#include "irdriver/omap/Omap1510Receiver.h"

#include "irdriver/IrResult.h"
#include "irdriver/learn/BurstRecorder.h"
#include "irdriver/learn/EdgeCapture.h"

namespace {

// UART3 registers, from the page (the UART sits at +0x800); LCR picks the bank.
constexpr ce::DWORD kIer = 0x804, kEfr = 0x808, kLcr = 0x80C, kMdr1 = 0x820, kScr = 0x840, kSsr = 0x844;
constexpr std::uint8_t kConfigurationMode = 0xBF, kBreak8N1 = 0x43;
constexpr std::uint8_t kEnhancedFunctions = 0x10;  // EFR: IER bits 4-7 writable
constexpr std::uint8_t kSleepMode = 0x10;          // IER
constexpr std::uint8_t kUartMode16x = 0x00;        // MDR1
constexpr std::uint8_t kWakeUpEnable = 0x10;       // SCR: arms the edge detector
constexpr std::uint8_t kWakeUpEdge = 0x02;         // SSR: an edge came since arming
// Timer 3 counting down from the full range at 3.038 MHz: stopped (PTV 1, clock on), one-shot.
constexpr std::uint32_t kTimerStopped = 0x64, kTimerOneShot = 0x65, kFullRange = 0xFFFFFFFE;

constexpr std::uint32_t kSilenceTicks = 1'519'000;  // 500 ms
constexpr std::uint32_t kLongGapTicks = 60'761;     // 20 ms
constexpr std::int64_t kTicksPerMs = 3038;
constexpr std::int32_t kLongestFirstMarkUs = 800'000;
constexpr std::uint16_t kSlowestCarrierUs = 100;

}  // namespace

void Omap1510Receiver::Arm() const {
    pages_.uart3.write8(kScr, static_cast<std::uint8_t>(pages_.uart3.read8(kScr) | kWakeUpEnable));
}

void Omap1510Receiver::Disarm() const {
    pages_.uart3.write8(kScr, static_cast<std::uint8_t>(pages_.uart3.read8(kScr) & ~kWakeUpEnable));
}

bool Omap1510Receiver::EdgeSeen() const { return (pages_.uart3.read8(kSsr) & kWakeUpEdge) != 0; }

bool Omap1510Receiver::NextEdge(const LearnDeadline& deadline, std::uint32_t& at) const {
    Arm();
    while (!EdgeSeen())
        if (deadline.Passed()) return false;
    at = timer_.Read();
    Disarm();
    return true;
}

void Omap1510Receiver::Record(std::int32_t* buffer, std::uint32_t twoPeriods, std::uint32_t last) const {
    const std::uint32_t threshold = 3 * twoPeriods;  // six carrier periods
    // Edges are where carrier cycles begin: a mark measured from its first edge to its
    // last is a cycle short, the space after it a cycle long. The remote's pulse ends
    // somewhere in the cycle its last edge opens; the middle of that cycle is the nearest
    // guess for both, at most half a period off.
    const auto halfPeriod = static_cast<std::int32_t>(twoPeriods / 4);
    // The first mark began at the edge that woke the capture, a period before the three
    // measured ones.
    buffer[0] = static_cast<std::int32_t>(twoPeriods + twoPeriods / 2);
    int entries = 0, longGaps = 0;
    while (entries < BurstRecorder::kEntries - 1) {
        const std::uint32_t previous = last;
        Arm();
        bool silent = false;
        while (!EdgeSeen()) {
            if (previous - timer_.Read() > kSilenceTicks) {
                silent = true;
                break;
            }
        }
        if (silent) break;
        last = timer_.Read();
        const std::uint32_t dt = previous - last;
        Disarm();
        if (dt >= threshold) {
            buffer[entries] += halfPeriod;
            buffer[entries + 1] = -static_cast<std::int32_t>(dt - static_cast<std::uint32_t>(halfPeriod));
            entries += 2;
            if (dt >= kLongGapTicks && ++longGaps == BurstRecorder::kLongGapsToStop) break;
        } else {
            buffer[entries] += static_cast<std::int32_t>(dt);
        }
    }
    if (entries < BurstRecorder::kEntries && buffer[entries] != 0) buffer[entries] += halfPeriod;
    Disarm();
}

Omap1510Receiver::Result Omap1510Receiver::Capture(std::int32_t* buffer, const LearnDeadline& deadline) {
    const std::uint32_t savedCntl = timer_.Cntl(), savedLoad = timer_.Load();
    timer_.SetCntl(kTimerStopped);
    timer_.SetLoad(kFullRange);
    timer_.SetCntl(kTimerOneShot);
    auto& uart = pages_.uart3;
    const std::uint8_t savedLcr = uart.read8(kLcr), savedMdr1 = uart.read8(kMdr1), savedScr = uart.read8(kScr);
    uart.write8(kLcr, kConfigurationMode);
    const std::uint8_t savedEfr = uart.read8(kEfr);
    uart.write8(kEfr, static_cast<std::uint8_t>(savedEfr | kEnhancedFunctions));
    uart.write8(kLcr, kBreak8N1);
    const std::uint8_t savedIer = uart.read8(kIer);
    uart.write8(kIer, static_cast<std::uint8_t>(savedIer & ~kSleepMode));
    uart.write8(kMdr1, kUartMode16x);
    Disarm();
    Arm();

    int code = kIrOk;
    std::uint32_t first = 0, second = 0, third = 0;
    if (![&] {
            while (!EdgeSeen())
                if (deadline.Passed()) return false;
            return true;
        }()) {
        code = kIrLearnTimeout;
    } else {
        Disarm();
        // Light without three edges behind it is no carrier.
        if (!NextEdge(deadline, first) || !NextEdge(deadline, second) || !NextEdge(deadline, third))
            code = kIrCarrierTooSlow;
        else
            Record(buffer, first - third, third);
    }

    uart.write8(kIer, savedIer);
    uart.write8(kLcr, kConfigurationMode);
    uart.write8(kEfr, savedEfr);
    uart.write8(kLcr, savedLcr);
    uart.write8(kMdr1, savedMdr1);
    uart.write8(kScr, savedScr);
    timer_.SetCntl(kTimerStopped);
    timer_.SetLoad(savedLoad);
    timer_.SetCntl(savedCntl);
    if (code != kIrOk) return {code, 0};

    BurstRecorder::Convert(buffer, 1000, kTicksPerMs);
    const std::uint16_t carrierUs = EdgeCapture::CarrierUs(2 * (first - third), kTicksPerMs);
    if (buffer[0] >= kLongestFirstMarkUs + 1 || carrierUs > kSlowestCarrierUs) return {kIrMarkTooLong, carrierUs};
    return {kIrOk, carrierUs};
}
