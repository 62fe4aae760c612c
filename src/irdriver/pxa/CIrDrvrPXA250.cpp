#include "pxa/CIrDrvrPXA250.h"

#include "InfraredUartProbe.h"
#include "OsTimerCarrier.h"
#include "PassLoop.h"
#include "PhysicalPage.h"
#include "pxa/PxaTransmitter.h"
#include "ce/Infrared.h"
#include "ce/Thread.h"

namespace {

constexpr std::uint32_t kIcmrDuringMark = 0x3C000000;
constexpr std::uint32_t kSpaceTicksPerMs = 3686;
constexpr PassLoop::Priorities kPriorities{1, 1};

}  // namespace

CIrDrvrPXA250::CIrDrvrPXA250() {
    timer_ = PhysicalPage::Map(kOsTimer);
    gpio_ = PhysicalPage::Map(kGpio);
    interrupts_ = PhysicalPage::Map(kInterrupts);
}

CIrDrvrPXA250::~CIrDrvrPXA250() {
    PhysicalPage::Release(timer_);
    PhysicalPage::Release(gpio_);
    PhysicalPage::Release(interrupts_);
}

bool CIrDrvrPXA250::BlocksMapped() { return timer_.mapped() && gpio_.mapped() && interrupts_.mapped(); }

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
    PxaTransmitter transmitter({timer_, gpio_, interrupts_}, uart_, kIcmrDuringMark, kSpaceTicksPerMs);
    transmitter.SetUp();
    ce::BeginInfraredTrace();
    PassLoop(thread_, savedPriority_, kPriorities)
        .Run(durations_, count_, nextIndex_, repeatStart_, repeatCount, holdKey, [&](std::int32_t entry) {
            const std::uint32_t length = TakeEntry(entry);
            if (entry > 0) transmitter.EmitMark(length, carrier_);
            else transmitter.WaitSpace(length);
        });
    ce::EndInfraredTrace();
    transmitter.TearDown();
    FlushInput();
    return kIrOk;
}

int CIrDrvrPXA250::Learn() { return kIrLearnNotAvailable; }
