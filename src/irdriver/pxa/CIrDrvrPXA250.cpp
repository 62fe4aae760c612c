#include "irdriver/pxa/CIrDrvrPXA250.h"

#include "irdriver/InfraredUartProbe.h"
#include "irdriver/OsTimerCarrier.h"
#include "irdriver/PassLoop.h"
#include "irdriver/learn/LearnDeadline.h"
#include "irdriver/pxa/PxaReceiver.h"
#include "irdriver/pxa/PxaTransmitter.h"
#include "ce/Thread.h"

namespace {

constexpr PassLoop::Priorities kPriorities{1, 1};

}  // namespace

CIrDrvrPXA250::CIrDrvrPXA250() : CIrDrvrPXA250(Timing{kOsTimerMatches, 3'686'400, 0}) {}

CIrDrvrPXA250::CIrDrvrPXA250(const Timing& timing) : timing_(timing) {
    timer_ = pages_.Hold(kOsTimer);
    gpio_ = pages_.Hold(kGpio);
    interrupts_ = pages_.Hold(kInterrupts);
}

CIrDrvrPXA250::~CIrDrvrPXA250() = default;

bool CIrDrvrPXA250::BlocksMapped() const { return timer_.mapped() && gpio_.mapped() && interrupts_.mapped(); }

int CIrDrvrPXA250::Open() {
    CaptureThread();
    uart_ = InfraredUartProbe::FindPxa();
    if (uart_ != 0) return kIrOk;
    if (const int opened = CIrDrvr::Open(); opened != kIrOk) return opened;
    // SETIR has now put the platform's UART into infrared mode; if not, Send says 303.
    uart_ = InfraredUartProbe::FindPxa();
    return kIrOk;
}

int CIrDrvrPXA250::Send(std::uint16_t repeatCount, int holdKey) {
    if (const int ready = CheckSendable(BlocksMapped()); ready != kIrOk) return ready;
    if (!PxaTransmitter::ValidUart(uart_)) return kIrNoInfraredUart;
    ce::Sleep(100);
    if (timing_.carrierTicksPerMs != 0)
        OsTimerCarrier::Set(static_cast<float>(carrier_ * timing_.carrierTicksPerMs) * 0.001f);
    PxaTransmitter transmitter({timer_, gpio_, interrupts_}, uart_, timing_.icmrDuringMark, timing_.counterHz);
    transmitter.SetUp();
    SendPasses(
        durations_, kPriorities, repeatCount, holdKey,
        [&](std::uint32_t length) { transmitter.EmitMark(length, carrier_); },
        [&](std::uint32_t length) { transmitter.WaitSpace(length); });
    transmitter.TearDown();
    FlushInput();
    return kIrOk;
}

int CIrDrvrPXA250::Learn() {
    if (const int ready = CheckLearnable(BlocksMapped()); ready != kIrOk) return ready;
    const LearnDeadline deadline;
    if (!PxaTransmitter::ValidUart(uart_)) return RefuseCapture(kIrNoInfraredUart);
    std::int32_t buffer[BurstRecorder::kEntries] = {};
    RaiseForCapture(1);
    const auto result = PxaReceiver({timer_, gpio_, interrupts_}, uart_, timing_.counterHz / 1000).Capture(buffer, deadline);
    EndCapture();
    return result.code != kIrOk ? result.code : StoreCapture(buffer, static_cast<std::uint16_t>(result.period));
}
