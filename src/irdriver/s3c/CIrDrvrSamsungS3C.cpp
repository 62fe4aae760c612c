#include "irdriver/s3c/CIrDrvrSamsungS3C.h"

#include "irdriver/InfraredUartProbe.h"
#include "irdriver/PassLoop.h"
#include "irdriver/PhysicalPage.h"
#include "irdriver/ProcessorDetection.h"
#include "irdriver/TickConversion.h"
#include "irdriver/learn/BurstRecorder.h"
#include "irdriver/learn/LearnDeadline.h"
#include "irdriver/s3c/PwmTimer.h"
#include "irdriver/s3c/S3cReceiver.h"
#include "ce/Thread.h"

namespace {

constexpr ce::DWORD kIntmsk = 0x08;  // interrupt controller: 1 = masked
constexpr std::uint32_t kAllMasked = 0xFFFFFFFF;
constexpr ce::DWORD kGphcon = 0x70, kGphdat = 0x74;  // port H: two function bits per pin, data
constexpr std::uint32_t kGphconField = 0x3, kGphconOutput = 0x1;
constexpr PassLoop::Priorities kPriorities{1, 1};

struct Pin {
    std::uint32_t bit;    // GPHDAT
    unsigned fieldShift;  // GPHCON: two bits, 01 = output
};

// TXD of UART0 (GPH2), UART1 (GPH4), UART2 (GPH6), by UART index - 1.
constexpr Pin kPins[] = {{0x04, 4}, {0x10, 8}, {0x40, 12}};

bool ValidUart(int index) { return index >= 1 && index <= 3; }

}  // namespace

CIrDrvrSamsungS3C::CIrDrvrSamsungS3C() {
    timers_ = pages_.Hold(kTimers);
    gpio_ = pages_.Hold(kGpio);
    interrupts_ = pages_.Hold(kInterrupts);
    ticksPerMs_ = MeasureTicksPerMs();
}

CIrDrvrSamsungS3C::~CIrDrvrSamsungS3C() = default;

bool CIrDrvrSamsungS3C::BlocksMapped() const { return timers_.mapped() && gpio_.mapped() && interrupts_.mapped(); }

std::uint32_t CIrDrvrSamsungS3C::TicksPerMs(std::uint32_t clockSpeed, bool is244x, std::uint32_t clkdivn,
                                            std::uint32_t tcfg0) {
    // Platforms report the clock in MHz or in Hz; no ARM9 runs at 1000 MHz or more.
    float mhz = static_cast<float>(clockSpeed);
    if (clockSpeed == 0) mhz = kUnreportedClockMhz;
    else if (clockSpeed > kHighestClockMhz) mhz = static_cast<float>(clockSpeed / 1e6);
    const std::uint32_t hdivn = is244x ? (clkdivn >> 1) & 3 : (clkdivn >> 1) & 1;
    constexpr float kFactors[] = {1.0f, 0.5f, 0.25f, 0.33333334f};
    const float hclk = mhz * kFactors[hdivn];
    const float pclk = (clkdivn & 1) != 0 ? hclk * 0.5f : hclk;
    const std::uint32_t prescaler = (tcfg0 >> 8) & 0xFF;
    return static_cast<std::uint32_t>(pclk / static_cast<float>(prescaler + 1) * 0.5f * 1000.0f);
}

std::uint32_t CIrDrvrSamsungS3C::MeasureTicksPerMs() const {
    ce::PROCESSOR_INFO info;
    if (!ProcessorDetection::ReadProcessorInfo(info)) return kDefaultTicksPerMs;
    const bool is244x = ProcessorDetection::Text(info, u"").find(u"244") != std::u16string::npos;
    const std::uint32_t clkdivn = PhysicalPage::ReadOnce(kClkdivn, 32);
    const std::uint32_t tcfg0 = timers_.mapped() ? timers_.read32(PwmTimer::kTcfg0) : 0;
    return TicksPerMs(info.dwClockSpeed, is244x, clkdivn, tcfg0);
}

int CIrDrvrSamsungS3C::Open() {
    CaptureThread();
    uart_ = InfraredUartProbe::FindS3c();
    if (uart_ != 0) return kIrOk;
    if (const int opened = CIrDrvr::Open(); opened != kIrOk) return opened;
    uart_ = InfraredUartProbe::FindS3c();
    return kIrOk;
}

void CIrDrvrSamsungS3C::EmitMark(std::uint32_t ticks, const PwmTimer& timer) const {
    if (carrier_ == 0) return;
    const std::uint32_t bit = kPins[uart_ - 1].bit;
    const std::uint32_t savedMask = interrupts_.read32(kIntmsk);
    interrupts_.write32(kIntmsk, kAllMasked);
    const std::uint32_t cycles = ticks / carrier_;
    std::uint32_t t = timer.Count();
    for (std::uint32_t i = 0; i < cycles; ++i) {
        const std::uint32_t target = (t - low_) & 0xFFFF;
        gpio_.write32(kGphdat, gpio_.read32(kGphdat) | bit);
        timer.WaitPasses(target);
        gpio_.write32(kGphdat, gpio_.read32(kGphdat) & ~bit);
        t = (target - high_) & 0xFFFF;
        timer.WaitPasses(t);
    }
    interrupts_.write32(kIntmsk, savedMask);
}

int CIrDrvrSamsungS3C::Send(std::uint16_t repeatCount, int holdKey) {
    if (const int ready = CheckSendable(BlocksMapped()); ready != kIrOk) return ready;
    if (!ValidUart(uart_)) return kIrNoInfraredUart;
    const Pin& pin = kPins[uart_ - 1];
    const std::uint32_t savedGphcon = gpio_.read32(kGphcon);
    gpio_.write32(kGphcon, (savedGphcon & ~(kGphconField << pin.fieldShift)) | (kGphconOutput << pin.fieldShift));

    std::int32_t ticks[kMaxEntries];
    for (std::uint16_t i = 0; i < count_; ++i)
        ticks[i] = TickConversion::Scale(durations_[i], ticksPerMs_, 1000);
    const std::uint16_t savedCarrier = carrier_;
    carrier_ = TickConversion::ScalePeriod(carrier_, ticksPerMs_, 1000);
    low_ = carrier_ / 2u;
    high_ = carrier_ - low_;
    ce::Sleep(100);

    PwmTimer timer = PwmTimer::Choose(timers_, interrupts_);
    timer.Borrow();
    SendPasses(
        ticks, kPriorities, repeatCount, holdKey, [&](std::uint32_t length) { EmitMark(length, timer); },
        [&](std::uint32_t length) { timer.WaitTicks(length); });

    gpio_.write32(kGphcon, savedGphcon);
    timer.Release();
    carrier_ = savedCarrier;
    FlushInput();
    return kIrOk;
}

int CIrDrvrSamsungS3C::Learn() {
    if (const int ready = CheckLearnable(BlocksMapped()); ready != kIrOk) return ready;
    const LearnDeadline deadline;
    if (!ValidUart(uart_)) return RefuseCapture(kIrNoInfraredUart);
    std::int32_t buffer[BurstRecorder::kEntries] = {};
    RaiseForCapture(1);
    const auto result = S3cReceiver({timers_, gpio_, interrupts_}, uart_, ticksPerMs_).Capture(buffer, deadline);
    EndCapture();
    return result.code != kIrOk ? result.code : StoreCapture(buffer, result.carrierUs);
}
