#include "omap/CIrDrvrOMAP1510.h"

#include <algorithm>

#include "PassLoop.h"
#include "learn/BurstRecorder.h"
#include "learn/LearnDeadline.h"
#include "omap/MpuTimer.h"
#include "omap/Omap1510Receiver.h"
#include "ce/Thread.h"

namespace {

// UART3 registers, from the page (the UART sits at +0x800). Several share an offset and
// are told apart by LCR: 0xBF opens the configuration bank (DLL, DLH, EFR).
constexpr ce::DWORD kThr = 0x800, kDll = 0x800, kIer = 0x804, kDlh = 0x804, kEfr = 0x808, kLcr = 0x80C,
                    kMcr = 0x810, kLsr = 0x814, kMdr1 = 0x820, kAcreg = 0x83C, kXonConfig = 0x83C, kScr = 0x840,
                    kOsc12MSel = 0x84C;
constexpr ce::DWORD kConf18 = 0x18, kConf80 = 0x80;
constexpr std::uint8_t kConfigurationMode = 0xBF, kOperational8N1 = 0x03, kBreak8N1 = 0x43;
constexpr std::uint8_t kUartOff = 0x07, kUartMode = 0x80;
constexpr std::uint8_t kTransmitterEmpty = 0x40;
constexpr std::uint8_t kCarrierByte = 0x55;  // with start and stop bits: five periods per byte
constexpr std::uint32_t kTimerStopped = 0x64, kTimerOneShot = 0x65;
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
    if (const int opened = Open(); opened != kIrOk) return opened;
    if (const int stored = StoreDurations(durations, count, repeatStart, -kAppendedGapUs); stored != kIrOk)
        return stored;
    ConvertDurations(kTicksPerMs);
    if (carrierPeriodUs == 0) return kIrNoCarrier;
    carrier_ = carrierPeriodUs;
    // Unmapped blocks are reported by Send; nothing can be programmed through them.
    if (BlocksMapped()) ProgramUart(Divisor(carrierPeriodUs));
    return kIrOk;
}

void CIrDrvrOMAP1510::ProgramUart(std::uint8_t divisor) {
    // Reprogrammed once per signal; the first save wins, so a second SetSignal before
    // Close does not take the already changed values for the originals.
    const bool first = !registersChanged_;
    auto save = [first](std::uint8_t& slot, std::uint8_t value) {
        if (first) slot = value;
    };
    save(saved_.scr, Reg(kScr));
    Reg(kScr, 0x09);
    save(saved_.mdr1, Reg(kMdr1));
    Reg(kMdr1, kUartOff);
    save(saved_.lcr, Reg(kLcr));
    const std::uint32_t conf18 = configuration_.read32(kConf18);
    if (first) saved_.conf18 = conf18;
    configuration_.write32(kConf18, (conf18 & ~0xFC0u) | 0x80);
    const std::uint32_t conf80 = configuration_.read32(kConf80);
    if (first) saved_.conf80 = conf80;
    configuration_.write32(kConf80, conf80 | 0x80000000u);
    Reg(kLcr, kConfigurationMode);
    save(saved_.efr, Reg(kEfr));
    Reg(kEfr, static_cast<std::uint8_t>(Reg(kEfr) | 0x10));
    Reg(kLcr, 0x00);
    save(saved_.ier, Reg(kIer));
    Reg(kIer, 0);
    Reg(kMcr, 0);
    Reg(kOsc12MSel, 0);
    Reg(kLcr, kConfigurationMode);
    save(saved_.dll, Reg(kDll));
    save(saved_.dlh, Reg(kDlh));
    save(saved_.xonConfig, Reg(kXonConfig));
    Reg(kDlh, 0);
    Reg(kDll, 0);
    Reg(kLcr, kConfigurationMode);
    Reg(kXonConfig, 1);
    Reg(kDll, divisor);
    Reg(kEfr, saved_.efr);
    Reg(kLcr, kOperational8N1);
    save(saved_.acreg, Reg(kAcreg));
    Reg(kAcreg, static_cast<std::uint8_t>(Reg(kAcreg) & 0x7F));
    Reg(kLcr, saved_.lcr);
    Reg(kMdr1, kUartMode);
    registersChanged_ = true;
}

void CIrDrvrOMAP1510::RestoreUart() {
    Reg(kMdr1, kUartOff);
    Reg(kLcr, kConfigurationMode);
    Reg(kEfr, static_cast<std::uint8_t>(Reg(kEfr) | 0x10));
    Reg(kLcr, kOperational8N1);
    Reg(kOsc12MSel, 1);
    Reg(kLcr, kConfigurationMode);
    Reg(kDll, saved_.dll);
    Reg(kDlh, saved_.dlh);
    Reg(kXonConfig, saved_.xonConfig);
    Reg(kLcr, 0x00);
    Reg(kIer, saved_.ier);
    Reg(kLcr, kConfigurationMode);
    Reg(kEfr, saved_.efr);
    Reg(kLcr, kOperational8N1);
    Reg(kAcreg, saved_.acreg);
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
    Reg(kLcr, kOperational8N1);  // line released: the UART drives it
    Reg(kThr, kCarrierByte);
    const ce::RegisterCondition ended[] = {
        timer.Stopped(), uart3_.Condition(kLsr, ce::RegisterCondition::MaskDiffers, kTransmitterEmpty, 0)};
    while (ce::WaitForRegisters(ended, 2, nullptr) != 0) Reg(kThr, kCarrierByte);
    Reg(kLcr, kBreak8N1);  // line forced idle
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
    const MpuTimer timer = MpuTimer::FirstIdle(timers_, kTimerOrder);
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
