#include "irdriver/s3c/S3cReceiver.h"

#include "irdriver/IrResult.h"
#include "irdriver/s3c/PwmTimer.h"

namespace {

constexpr ce::DWORD kGphcon = 0x70, kGphdat = 0x74;

struct Pin {
    std::uint32_t bit;    // GPHDAT
    unsigned fieldShift;  // GPHCON: two bits, 00 = input
};

// RXD of UART0 (GPH3), UART1 (GPH5), UART2 (GPH7), by UART index - 1.
constexpr Pin kPins[] = {{0x08, 6}, {0x20, 10}, {0x80, 14}};

constexpr std::uint32_t kReloadTicks = 65536;          // 65535 down to 0, then reload
constexpr std::uint32_t kSilenceReloadTicks = 1'000'000;
constexpr std::int64_t kSlowCarrierTicks = 101;
constexpr std::int64_t kLongGapTicks = 20'001;
constexpr std::int64_t kLongestMarkTicks = 800'000;

}  // namespace

S3cReceiver::S3cReceiver(const Pages& pages, int uartIndex, std::uint32_t ticksPerMs)
    : pages_(pages), uart_(uartIndex), ticksPerMs_(ticksPerMs == 0 ? 1 : ticksPerMs) {}

// The count read again after a reload is seen, so the reload and the count agree.
std::uint32_t S3cReceiver::Now() {
    std::uint32_t count = timer_->Count();
    if (timer_->Pending()) {
        count = timer_->Count();
        timer_->ClearPending();
        reloadTicks_ += kReloadTicks;
    }
    return reloadTicks_ + (kReloadTicks - 1 - count);
}

// The recording ends, while the line is dark, once the timer has reloaded for more
// than a million ticks in all.
bool S3cReceiver::Silent(std::uint32_t /*lastEdge*/) {
    Now();
    return reloadTicks_ > kSilenceReloadTicks;
}

S3cReceiver::Result S3cReceiver::Capture(std::int32_t* buffer, const LearnDeadline& deadline) {
    const Pin& pin = kPins[uart_ - 1];
    const std::uint32_t savedGphcon = pages_.gpio.read32(kGphcon);
    pages_.gpio.write32(kGphcon, savedGphcon & ~(3u << pin.fieldShift));
    PwmTimer timer = PwmTimer::Choose(pages_.timers, pages_.interrupts);
    timer.Borrow(false);
    timer_ = &timer;
    reloadTicks_ = 0;

    const ReceiveLine line(pages_.gpio, kGphdat, pin.bit);
    const EdgeCapture::Rules rules{1, 4, kSlowCarrierTicks, {1, 1, kLongGapTicks, kLongestMarkTicks}, true};
    const EdgeCapture::Result result = EdgeCapture(line, *this, rules).Run(buffer, deadline, [&] {
        timer.Start();
        timer.ClearPending();
    });

    timer.Release();
    timer_ = nullptr;
    pages_.gpio.write32(kGphcon, savedGphcon);
    if (result.code != kIrOk) return {result.code, 0};
    BurstRecorder::Convert(buffer, 1000, ticksPerMs_);
    return {kIrOk, static_cast<std::uint8_t>(std::min<std::uint16_t>(EdgeCapture::CarrierUs(result.fourPeriods, ticksPerMs_), 0xFF))};
}
