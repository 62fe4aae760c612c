#include "irdriver/omap/CIrDrvrOMAP1510.h"

#include <algorithm>

#include "irdriver/PassLoop.h"
#include "irdriver/learn/BurstRecorder.h"
#include "irdriver/learn/LearnDeadline.h"
#include "irdriver/omap/MpuTimer.h"
#include "irdriver/omap/Omap1510Receiver.h"
#include "ce/Thread.h"

namespace {

// UART3 registers, from the page (the UART sits at +0x800). Several share an offset and
// are told apart by LCR: 0xBF opens the configuration bank (DLL, DLH, EFR, +0x3C).
constexpr ce::DWORD kThr = 0x800, kDll = 0x800;   // transmit holding / divisor low
constexpr ce::DWORD kIer = 0x804, kDlh = 0x804;   // interrupt enable / divisor high
constexpr ce::DWORD kEfr = 0x808;                 // enhanced features (configuration bank)
constexpr std::uint8_t kEfrEnhanced = 0x10;       //   enhanced functions writable
constexpr ce::DWORD kLcr = 0x80C;                 // line control
constexpr std::uint8_t kLcrConfiguration = 0xBF;  //   opens the configuration bank
constexpr std::uint8_t kLcrOperational = 0x00;    //   operational bank, as the IER write needs
constexpr std::uint8_t kLcr8N1 = 0x03;            //   8 data bits, no parity, 1 stop bit
constexpr std::uint8_t kLcrBreak = 0x40;          //   line forced idle (the LED dark)
constexpr ce::DWORD kMcr = 0x810;                 // modem control
constexpr ce::DWORD kLsr = 0x814;                 // line status
constexpr std::uint8_t kLsrTransmitterEmpty = 0x40;
constexpr ce::DWORD kMdr1 = 0x820;                // mode definition 1
constexpr std::uint8_t kMdr1Off = 0x07;           //   UART disabled
constexpr std::uint8_t kMdr1Uart = 0x80;          //   UART 16x mode (mode bits 0)
constexpr ce::DWORD kAcreg = 0x83C, kXonConfig = 0x83C;  // auxiliary control / its configuration-bank twin
constexpr std::uint8_t kAcregKeep = 0x7F;         //   bit 7 cleared for the carrier
constexpr std::uint8_t kXonConfigCarrier = 0x01;
constexpr ce::DWORD kScr = 0x840;                 // supplementary control
constexpr std::uint8_t kScrCarrier = 0x09;
constexpr ce::DWORD kOsc12MSel = 0x84C;           // 1: 12 MHz reference, 0: 48 MHz
// Configuration block: the UART3 pin configuration, board-specific bits.
constexpr ce::DWORD kConf18 = 0x18, kConf80 = 0x80;
constexpr std::uint32_t kConf18Field = 0xFC0, kConf18Uart3 = 0x80, kConf80Uart3 = 0x80000000;
constexpr std::uint8_t kCarrierByte = 0x55;  // with start and stop bits: five periods per byte
// MPU timer: stopped / started as a one-shot, clock enabled, prescaler 1 (3.038 MHz).
constexpr std::uint32_t kTimerStopped = 0x64, kTimerOneShot = kTimerStopped | MpuTimer::kStart;
constexpr int kTimerOrder[3] = {1, 2, 3};
constexpr PassLoop::Priorities kPriorities{1, 0};

// Divisors by carrier period, 11..100 µs: two bit times at 48 MHz / 16 / divisor.
constexpr std::uint8_t kDivisors[90] = {
    17,  18,  19,  21,  22,  24,  25,  27,  28,  30,   // 11-20
    31,  32,  34,  35,  37,  39,  40,  41,  42,  44,   // 21-30
    45,  47,  48,  50,  51,  53,  54,  56,  57,  58,   // 31-40
    60,  61,  63,  64,  66,  67,  69,  70,  72,  73,   // 41-50
    74,  76,  77,  79,  79,  80,  84,  85,  86,  87,   // 51-60
    88,  90,  91,  92,  94,  95,  98,  99,  101, 103,  // 61-70
    104, 105, 106, 108, 109, 110, 112, 113, 114, 116,  // 71-80
    118, 119, 121, 123, 125, 125, 126, 128, 129, 130,  // 81-90
    132, 135, 136, 137, 139, 140, 141, 142, 143, 144,  // 91-100
};

}  // namespace

CIrDrvrOMAP1510::CIrDrvrOMAP1510() {
    uart3_ = pages_.Hold(kUart3);
    timers_ = pages_.Hold(MpuTimer::kBlock);
    configuration_ = pages_.Hold(kConfiguration);
}

CIrDrvrOMAP1510::~CIrDrvrOMAP1510() { CIrDrvrOMAP1510::Close(); }

bool CIrDrvrOMAP1510::BlocksMapped() const { return uart3_.mapped() && timers_.mapped() && configuration_.mapped(); }

void CIrDrvrOMAP1510::Reg(ce::DWORD offset, std::uint8_t value) const { uart3_.write8(offset, value); }
std::uint8_t CIrDrvrOMAP1510::Reg(ce::DWORD offset) const { return uart3_.read8(offset); }

std::uint8_t CIrDrvrOMAP1510::Divisor(std::uint16_t periodUs) {
    const int clamped = std::clamp<int>(periodUs, 11, 100);
    return kDivisors[clamped - 11];
}

int CIrDrvrOMAP1510::SetSignal(const std::int32_t* durations, std::uint16_t count, std::uint16_t repeatStart,
                               std::uint16_t carrierPeriodUs) {
    if (const int stored = StoreSignalInTicks(durations, count, repeatStart, carrierPeriodUs, kTicksPerMs);
        stored != kIrOk)
        return stored;
    carrier_ = carrierPeriodUs;
    // Unmapped blocks are reported by Send; nothing can be programmed through them.
    if (BlocksMapped()) ProgramUart(Divisor(carrierPeriodUs));
    return kIrOk;
}

void CIrDrvrOMAP1510::ProgramUart(std::uint8_t divisor) {
    // Reprogrammed once per signal; the first save wins, so a second SetSignal before
    // Close does not take the already changed values for the originals.
    const bool first = !registersChanged_;
    auto save = [first](auto& slot, auto value) {
        if (first) slot = value;
    };
    // 1. Supplementary control for the carrier; 2. the UART off while it is reprogrammed.
    save(saved_.scr, Reg(kScr));
    Reg(kScr, kScrCarrier);
    save(saved_.mdr1, Reg(kMdr1));
    Reg(kMdr1, kMdr1Off);
    // 3. Line control kept for step 17; 4-5. the pins given to UART3.
    save(saved_.lcr, Reg(kLcr));
    const std::uint32_t conf18 = configuration_.read32(kConf18);
    save(saved_.conf18, conf18);
    configuration_.write32(kConf18, (conf18 & ~kConf18Field) | kConf18Uart3);
    const std::uint32_t conf80 = configuration_.read32(kConf80);
    save(saved_.conf80, conf80);
    configuration_.write32(kConf80, conf80 | kConf80Uart3);
    // 6. Enhanced functions writable.
    Reg(kLcr, kLcrConfiguration);
    save(saved_.efr, Reg(kEfr));
    Reg(kEfr, static_cast<std::uint8_t>(Reg(kEfr) | kEfrEnhanced));
    // 7. No interrupts, no modem control, the 48 MHz reference.
    Reg(kLcr, kLcrOperational);
    save(saved_.ier, Reg(kIer));
    Reg(kIer, 0);
    Reg(kMcr, 0);
    Reg(kOsc12MSel, 0);
    // 8-10. Divisor cleared, then set for the carrier.
    Reg(kLcr, kLcrConfiguration);
    save(saved_.dll, Reg(kDll));
    save(saved_.dlh, Reg(kDlh));
    save(saved_.xonConfig, Reg(kXonConfig));
    Reg(kDlh, 0);
    Reg(kDll, 0);
    Reg(kLcr, kLcrConfiguration);
    Reg(kXonConfig, kXonConfigCarrier);
    Reg(kDll, divisor);
    // 11. Enhanced functions as they were.
    Reg(kEfr, saved_.efr);
    // 12-14. 8N1 framing; auxiliary control bit 7 cleared.
    Reg(kLcr, kLcr8N1);
    save(saved_.acreg, Reg(kAcreg));
    Reg(kAcreg, static_cast<std::uint8_t>(Reg(kAcreg) & kAcregKeep));
    // 15-16. Line control as it was, the UART back on in 16x mode.
    Reg(kLcr, saved_.lcr);
    Reg(kMdr1, kMdr1Uart);
    registersChanged_ = true;
}

void CIrDrvrOMAP1510::RestoreUart() {
    // 1. The UART off; 2. enhanced functions writable.
    Reg(kMdr1, kMdr1Off);
    Reg(kLcr, kLcrConfiguration);
    Reg(kEfr, static_cast<std::uint8_t>(Reg(kEfr) | kEfrEnhanced));
    // 3. The 12 MHz reference the infrared stack runs on.
    Reg(kLcr, kLcr8N1);
    Reg(kOsc12MSel, 1);
    // 4. The divisor and its companion register.
    Reg(kLcr, kLcrConfiguration);
    Reg(kDll, saved_.dll);
    Reg(kDlh, saved_.dlh);
    Reg(kXonConfig, saved_.xonConfig);
    // 5. Interrupts; 6. enhanced functions; 7. auxiliary control.
    Reg(kLcr, kLcrOperational);
    Reg(kIer, saved_.ier);
    Reg(kLcr, kLcrConfiguration);
    Reg(kEfr, saved_.efr);
    Reg(kLcr, kLcr8N1);
    Reg(kAcreg, saved_.acreg);
    // 8. Line control and mode; 9. the pins; 10. supplementary control.
    Reg(kLcr, saved_.lcr);
    Reg(kMdr1, saved_.mdr1);
    configuration_.write32(kConf80, saved_.conf80);
    configuration_.write32(kConf18, saved_.conf18);
    Reg(kScr, saved_.scr);
}

int CIrDrvrOMAP1510::Close() {
    if (registersChanged_ && BlocksMapped()) RestoreUart();
    registersChanged_ = false;
    return CIrDrvr::Close();
}

void CIrDrvrOMAP1510::EmitMark(std::uint32_t ticks, const MpuTimer& timer) const {
    timer.SetCntl(kTimerStopped);
    timer.SetLoad(ticks);
    timer.SetCntl(kTimerOneShot);
    Reg(kLcr, kLcr8N1);  // line released: the UART drives it
    Reg(kThr, kCarrierByte);
    const ce::RegisterCondition ended[] = {
        timer.Stopped(), uart3_.Condition(kLsr, ce::RegisterCondition::MaskDiffers, kLsrTransmitterEmpty, 0)};
    while (ce::WaitForRegisters(ended, 2, nullptr) != 0) Reg(kThr, kCarrierByte);
    Reg(kLcr, static_cast<std::uint8_t>(kLcr8N1 | kLcrBreak));  // line forced idle
    timer.SetCntl(kTimerStopped);
}

void CIrDrvrOMAP1510::WaitSpace(std::uint32_t ticks, const MpuTimer& timer) {
    if (ticks == 0) return;
    timer.SetCntl(kTimerStopped);
    timer.SetLoad(ticks);
    timer.SetCntl(kTimerOneShot);
    timer.WaitStopped();
    timer.SetCntl(kTimerStopped);
}

int CIrDrvrOMAP1510::Send(std::uint16_t repeatCount, int holdKey) {
    if (const int ready = CheckSendable(BlocksMapped()); ready != kIrOk) return ready;
    ce::Sleep(100);
    const MpuTimer timer = MpuTimer::FirstIdle(timers_, kTimerOrder, 3);
    const std::uint32_t savedCntl = timer.Cntl(), savedLoad = timer.Load();
    timer.SetCntl(kTimerStopped);
    SendPasses(
        durations_, kPriorities, repeatCount, holdKey, [&](std::uint32_t length) { EmitMark(length, timer); },
        [&](std::uint32_t length) { WaitSpace(length, timer); });
    timer.SetCntl(timer.Cntl() & ~MpuTimer::kStart);
    timer.SetLoad(savedLoad);
    timer.SetCntl(savedCntl);
    FlushInput();
    return kIrOk;
}

int CIrDrvrOMAP1510::Learn() {
    if (const int ready = CheckLearnable(BlocksMapped()); ready != kIrOk) return ready;
    const LearnDeadline deadline;
    std::int32_t buffer[BurstRecorder::kEntries] = {};
    RaiseForCapture(1);
    const auto result = Omap1510Receiver({uart3_, timers_}).Capture(buffer, deadline);
    EndCapture();
    return result.code != kIrOk ? result.code : StoreCapture(buffer, result.carrierUs);
}
