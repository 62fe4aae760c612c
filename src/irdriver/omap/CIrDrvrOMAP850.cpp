#include "irdriver/omap/CIrDrvrOMAP850.h"

#include "irdriver/PassLoop.h"
#include "irdriver/TickConversion.h"
#include "irdriver/learn/BurstRecorder.h"
#include "irdriver/learn/LearnDeadline.h"
#include "irdriver/omap/MpuTimer.h"
#include "irdriver/omap/Omap850Receiver.h"
#include "ce/Thread.h"

namespace {

// MPU GPIO bank (+0x800 in its page); pins by bit.
constexpr ce::DWORD kDataOutput = 0x804;
constexpr ce::DWORD kDirControl = 0x808;  // 1 = input
constexpr ce::DWORD kIntMask = 0x810;     // 1 = masked
constexpr std::uint32_t kTransmitPin = 0x20, kReceivePin = 0x40;
// Pin multiplexing in the configuration block (board-specific bits): the field that
// routes the transmit pin, and the value that makes it a GPIO.
constexpr ce::DWORD kPinMux = 0x7C;
constexpr std::uint32_t kMuxField = 0xEE00, kMuxCleared = 0x2200, kMuxGpio = 0xCC00;
// MPU timer: reset, then free-running with auto-reload at 6.48 MHz (prescaler 0).
constexpr std::uint32_t kTimerReset = 0xFFFFFF00, kTimerFreeRunning = 0xFFFFFFE2, kFullCount = 0xFFFFFFFF;
constexpr int kTimerOrder[3] = {3, 2, 1};
constexpr PassLoop::Priorities kPriorities{1, 0};

}  // namespace

CIrDrvrOMAP850::CIrDrvrOMAP850() {
    irUart_ = pages_.Hold(kIrUart);
    timers_ = pages_.Hold(MpuTimer::kBlock);
    gpio_ = pages_.Hold(kGpio);
    configuration_ = pages_.Hold(kConfiguration);
}

CIrDrvrOMAP850::~CIrDrvrOMAP850() = default;

bool CIrDrvrOMAP850::BlocksMapped() const {
    return irUart_.mapped() && timers_.mapped() && gpio_.mapped() && configuration_.mapped();
}

int CIrDrvrOMAP850::SetSignal(const std::int32_t* durations, std::uint16_t count, std::uint16_t repeatStart,
                              std::uint16_t carrierPeriodUs) {
    if (const int stored = StoreSignalInTicks(durations, count, repeatStart, carrierPeriodUs, kTicksPerMs);
        stored != kIrOk)
        return stored;
    const std::uint16_t period = TickConversion::ScalePeriod(carrierPeriodUs, kTicksPerMs, 1000);
    carrier_ = period;
    low_ = period / 2u;
    high_ = period - low_;
    registersChanged_ = true;
    return kIrOk;
}

int CIrDrvrOMAP850::Close() {
    registersChanged_ = false;
    return CIrDrvr::Close();
}

void CIrDrvrOMAP850::EmitMark(std::uint32_t ticks, const MpuTimer& timer) const {
    if (carrier_ == 0) return;
    // One period more than the whole periods in the mark.
    const std::uint32_t periods = ticks / carrier_ + 1;
    std::uint32_t t = timer.Read();
    for (std::uint32_t i = 0; i < periods; ++i) {
        gpio_.write32(kDataOutput, gpio_.read32(kDataOutput) | kTransmitPin);
        timer.WaitDownTo(t -= low_);
        gpio_.write32(kDataOutput, gpio_.read32(kDataOutput) & ~kTransmitPin);
        timer.WaitDownTo(t -= high_);
    }
}

void CIrDrvrOMAP850::WaitSpace(std::uint32_t ticks, const MpuTimer& timer) {
    if (ticks == 0) return;
    timer.WaitDownTo(timer.Read() - ticks);
}

int CIrDrvrOMAP850::Send(std::uint16_t repeatCount, int holdKey) {
    if (const int ready = CheckSendable(BlocksMapped()); ready != kIrOk) return ready;
    ce::Sleep(100);
    // 1. Both pins' interrupts masked; 2. the transmit pin an output.
    const std::uint32_t mask = gpio_.read32(kIntMask);
    gpio_.write32(kIntMask, mask | kReceivePin | kTransmitPin);
    const std::uint32_t direction = gpio_.read32(kDirControl);
    gpio_.write32(kDirControl, direction & ~kTransmitPin);
    // 3. The pin routed to the GPIO.
    const std::uint32_t mux = configuration_.read32(kPinMux);
    configuration_.write32(kPinMux, (mux & ~kMuxCleared) | kMuxGpio);
    // 4. A timer: timer 1 runs the operating system's tick, so when all three run timer 3
    // is taken anyway; its CNTL and LOAD are saved for step 7.
    const MpuTimer timer = MpuTimer::FirstIdle(timers_, kTimerOrder, 3);
    const std::uint32_t savedCntl = timer.Cntl(), savedLoad = timer.Load();
    // 5. Reset, loaded with the full count, free-running, started.
    timer.SetCntl(kTimerReset);
    timer.SetLoad(kFullCount);
    timer.SetCntl(kTimerFreeRunning);
    timer.SetCntl(timer.Cntl() | MpuTimer::kStart);

    SendPasses(
        durations_, kPriorities, repeatCount, holdKey, [&](std::uint32_t length) { EmitMark(length, timer); },
        [&](std::uint32_t length) { WaitSpace(length, timer); });

    // 6. The timer stopped and reset; 7. LOAD, then CNTL as they were (a timer that ran
    // starts again from its own LOAD).
    timer.SetCntl(timer.Cntl() & ~MpuTimer::kStart);
    timer.SetCntl(kTimerReset);
    timer.SetLoad(savedLoad);
    timer.SetCntl(savedCntl);
    // 8. The pin routing; 9. each interrupt mask bit and the direction as they were.
    configuration_.write32(kPinMux, (configuration_.read32(kPinMux) & ~kMuxField) | (mux & kMuxField));
    std::uint32_t maskNow = gpio_.read32(kIntMask);
    for (std::uint32_t bit : {kReceivePin, kTransmitPin})
        if ((mask & bit) == 0) maskNow &= ~bit;
    gpio_.write32(kIntMask, maskNow);
    if ((direction & kTransmitPin) != 0) gpio_.write32(kDirControl, gpio_.read32(kDirControl) | kTransmitPin);
    FlushInput();
    return kIrOk;
}

int CIrDrvrOMAP850::Learn() {
    if (const int ready = CheckLearnable(BlocksMapped()); ready != kIrOk) return ready;
    const LearnDeadline deadline;
    std::int32_t buffer[BurstRecorder::kEntries] = {};
    RaiseForCapture(1);
    const auto result = Omap850Receiver({timers_, gpio_, configuration_}).Capture(buffer, deadline);
    EndCapture();
    return result.code != kIrOk ? result.code : StoreCapture(buffer, result.carrierUs);
}
