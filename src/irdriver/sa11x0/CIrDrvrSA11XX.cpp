#include "irdriver/sa11x0/CIrDrvrSA11XX.h"

#include "irdriver/OsTimerCarrier.h"
#include "irdriver/OsTimerCounter.h"
#include "irdriver/PassLoop.h"
#include "irdriver/learn/LearnDeadline.h"
#include "irdriver/learn/OsTimerCapture.h"
#include "ce/Led.h"
#include "ce/Thread.h"

namespace {

constexpr ce::DWORD kUtcr0 = 0x00;  // serial port 2 control register 0
constexpr ce::BYTE kUtcr0ParityEnable = 0x01, kUtcr0DataSize = 0x08, kUtcr0SampleClock = 0x10;
constexpr ce::DWORD kPpdr = 0x00, kPpsr = 0x04;  // pin direction, pin state
constexpr std::uint32_t kTxd2 = 0x4000, kRxd2 = 0x8000;
constexpr std::uint64_t kOsTimerHz = 3'686'400;
// Learning divides captured OS timer ticks by whole ticks per millisecond, as it always has.
constexpr std::uint32_t kCaptureTicksPerMs = 3686;
constexpr PassLoop::Priorities kPriorities{0, 0};

}  // namespace

CIrDrvrSA11XX::CIrDrvrSA11XX() {
    serialPort2_ = pages_.Hold(kSerialPort2);
    pinController_ = pages_.Hold(kPinController);
    timer_ = pages_.Hold(kOsTimer);
    interrupts_ = pages_.Hold(kInterrupts);
}

CIrDrvrSA11XX::~CIrDrvrSA11XX() = default;

bool CIrDrvrSA11XX::BlocksMapped() const {
    return serialPort2_.mapped() && pinController_.mapped() && timer_.mapped() && interrupts_.mapped();
}

void CIrDrvrSA11XX::SetLed(int state) {
    ce::NLED_SETTINGS_INFO led;
    led.LedNum = 0;
    led.OffOnBlink = state;
    ce::NLedSetDevice(ce::NLED_SETTINGS_INFO_ID, &led);
}

void CIrDrvrSA11XX::EmitMark(std::uint32_t us) const {
    const OsTimerCounter counter(timer_);
    const std::uint32_t high = OsTimerCarrier::High(), low = OsTimerCarrier::Low();
    const std::uint32_t cycles = us / carrier_;
    std::uint32_t t = counter.Now();
    // TXD2 is the only output of the pin controller while sending, so whole-register
    // writes of the state touch no other pin.
    for (std::uint32_t i = 0; i < cycles; ++i) {
        pinController_.write32(kPpsr, kTxd2);
        counter.WaitUntil(t += high);
        pinController_.write32(kPpsr, 0);
        counter.WaitUntil(t += low);
    }
}

void CIrDrvrSA11XX::WaitSpace(std::uint32_t us) const {
    OsTimerCounter(timer_).WaitTicks(std::uint64_t{us} * kOsTimerHz / 1'000'000);
}

int CIrDrvrSA11XX::Send(std::uint16_t repeatCount, int holdKey) {
    if (const int ready = CheckSendable(BlocksMapped()); ready != kIrOk) return ready;
    SetLed(1);
    ce::Sleep(100);
    // 1. UTCR0 and the pin directions saved; 2. the UART's framing bits cleared but for
    // parity, so it lets go of TXD2; 3. TXD2 the pin controller's only output.
    const ce::BYTE savedUtcr0 = serialPort2_.read8(kUtcr0);
    const std::uint32_t savedPpdr = pinController_.read32(kPpdr);
    constexpr ce::BYTE kCleared = kUtcr0ParityEnable | kUtcr0DataSize | kUtcr0SampleClock;
    serialPort2_.write8(kUtcr0, static_cast<ce::BYTE>((savedUtcr0 & ~kCleared) | kUtcr0ParityEnable));
    pinController_.write32(kPpdr, kTxd2);
    SendPasses(
        durations_, kPriorities, repeatCount, holdKey, [&](std::uint32_t length) { EmitMark(length); },
        [&](std::uint32_t length) { WaitSpace(length); });
    serialPort2_.write8(kUtcr0, savedUtcr0);
    pinController_.write32(kPpdr, savedPpdr);
    ce::CeSetThreadQuantum(thread_, static_cast<ce::DWORD>(savedQuantum_));
    SetLed(0);
    FlushInput();
    return kIrOk;
}

int CIrDrvrSA11XX::Learn() {
    if (const int ready = CheckLearnable(BlocksMapped()); ready != kIrOk) return ready;
    const LearnDeadline deadline;
    std::int32_t buffer[BurstRecorder::kEntries] = {};
    RaiseForCapture(0);
    // RXD2 is an input of the pin controller already: nothing to take over.
    const ReceiveLine line(pinController_, kPpsr, kRxd2);
    const auto result = OsTimerCapture(timer_, line, kCaptureTicksPerMs).Run(buffer, deadline, [] {});
    EndCapture();
    return result.code != kIrOk ? result.code : StoreCapture(buffer, static_cast<std::uint16_t>(result.period));
}
