#include "irdriver/CIrDrvr.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "irdriver/OsTimerCarrier.h"
#include "irdriver/TickConversion.h"
#include "irdriver/learn/BurstRecorder.h"
#include "irdriver/learn/RepeatFrameSearch.h"
#include "ce/Files.h"
#include "ce/Input.h"
#include "ce/Processor.h"
#include "ce/Serial.h"
#include "ce/Thread.h"

CIrDrvr::~CIrDrvr() { CIrDrvr::Close(); }

void CIrDrvr::SetPortName(const char16_t* name) { portName_ = name != nullptr ? name : u""; }

void CIrDrvr::CaptureThread() {
    if (thread_ != nullptr) return;
    thread_ = ce::GetCurrentThread();
    savedPriority_ = ce::CeGetThreadPriority(thread_);
    savedQuantum_ = static_cast<int>(ce::CeGetThreadQuantum(thread_));
}

int CIrDrvr::Open() {
    CaptureThread();
    if (portOpen()) return kIrOk;
    if (portName_.empty()) return kIrNoPort;
    port_ = ce::CreateFileW(portName_.c_str(), ce::GENERIC_READ | ce::GENERIC_WRITE, 0, ce::OPEN_EXISTING);
    if (port_ == ce::INVALID_HANDLE_VALUE || port_ == nullptr) {
        port_ = ce::INVALID_HANDLE_VALUE;
        return kIrPortUnavailable;
    }
    // Reads return at once; the port is only opened for the SETIR side effect.
    ce::COMMTIMEOUTS timeouts;
    timeouts.ReadIntervalTimeout = ce::MAXDWORD;
    ce::SetCommTimeouts(port_, &timeouts);
    ce::DCB state;
    ce::GetCommState(port_, &state);
    state.BaudRate = ce::CBR_2400;
    // Binary, continue on XOFF; no parity check, no flow control, DTR and RTS off.
    state.Flags = (state.Flags & ~0x7FFFu) | ce::DCB_fBinary | ce::DCB_fTXContinueOnXoff;
    state.ByteSize = 8;
    state.Parity = ce::NOPARITY;
    state.StopBits = ce::ONE5STOPBITS;
    ce::SetCommState(port_, &state);
    ce::EscapeCommFunction(port_, ce::SETIR);
    return kIrOk;
}

int CIrDrvr::Close() {
    if (!portOpen()) return kIrOk;
    ce::EscapeCommFunction(port_, ce::CLRIR);
    ce::CloseHandle(port_);
    port_ = ce::INVALID_HANDLE_VALUE;
    return kIrOk;
}

int CIrDrvr::StoreDurations(const std::int32_t* durations, std::uint16_t count, std::uint16_t repeatStart,
                            std::int32_t appendedGap) {
    if (durations == nullptr || count == 0) return kIrNoData;
    count_ = std::min(count, kMaxEntries);
    nextIndex_ = 0;
    repeatStart_ = 0;
    std::fill(std::begin(durations_), std::end(durations_), 0);
    std::copy(durations, durations + count_, durations_);
    // Clamped before the increment, so a repeat start of 65535 cannot wrap round to 0
    // and turn a one-shot signal into one that repeats from its first entry.
    std::uint16_t start = std::min(repeatStart, count_);
    if (durations_[count_ - 1] > 0 && count_ < kMaxEntries && start >= count_) {
        // A signal that ends on a mark gets a closing gap, so passes stay apart.
        durations_[count_++] = appendedGap;
        ++start;
    }
    repeatStart_ = std::min(start, count_);
    return kIrOk;
}

int CIrDrvr::StoreSignalInTicks(const std::int32_t* durations, std::uint16_t count, std::uint16_t repeatStart,
                                std::uint16_t carrierPeriodUs, std::int64_t ticksPerMs) {
    // The port first: a port that cannot be opened stops SetSignal before anything changes.
    if (const int opened = Open(); opened != kIrOk) return opened;
    if (const int stored = StoreDurations(durations, count, repeatStart, -kAppendedGapUs); stored != kIrOk)
        return stored;
    for (std::uint16_t i = 0; i < count_; ++i) durations_[i] = TickConversion::Scale(durations_[i], ticksPerMs, 1000);
    return carrierPeriodUs == 0 ? kIrNoCarrier : kIrOk;
}

int CIrDrvr::SetSignal(const std::int32_t* durations, std::uint16_t count, std::uint16_t repeatStart,
                       std::uint16_t carrierPeriodUs) {
    if (const int stored = StoreDurations(durations, count, repeatStart, -kAppendedGapUs); stored != kIrOk)
        return stored;
    if (carrierPeriodUs == 0) return kIrNoCarrier;
    carrier_ = carrierPeriodUs >= 10 && carrierPeriodUs <= 50 ? carrierPeriodUs : kDefaultCarrierUs;
    OsTimerCarrier::Set(static_cast<float>(carrier_) * OsTimerCarrier::kSa11x0TicksPerUs);
    return Open();
}

int CIrDrvr::CheckSendable(bool blocksMapped) const {
    if (!blocksMapped) return kIrBlockUnmapped;
    if (savedPriority_ == 0) return kIrZeroPriority;
    if (carrier_ == 0) return kIrNoCarrier;
    return kIrOk;
}

std::uint32_t CIrDrvr::Length(std::int32_t entry) {
    return entry > 0 ? static_cast<std::uint32_t>(entry) : 0u - static_cast<std::uint32_t>(entry);
}

void CIrDrvr::FlushInput() {
    ce::MSG message;
    while (ce::PeekMessageW(&message, nullptr, ce::WM_MOUSEMOVE, ce::WM_LBUTTONDOWN, ce::PM_REMOVE)) {
    }
    while (ce::PeekMessageW(&message, nullptr, ce::WM_KEYFIRST, ce::WM_KEYLAST, ce::PM_REMOVE)) {
    }
}

void CIrDrvr::GetLearnedSignal(std::unique_ptr<std::int32_t[]>& durations, std::uint16_t& count,
                               std::uint16_t& repeatStart, std::uint16_t& carrier) {
    durations.reset();
    count = 0;
    repeatStart = 0;
    carrier = 0;
    if (count_ == 0) return;
    durations = std::make_unique<std::int32_t[]>(count_);
    std::copy(durations_, durations_ + count_, durations.get());
    count = count_;
    repeatStart_ = std::min(repeatStart_, count_);
    repeatStart = repeatStart_;
    carrier = carrier_;
}

int CIrDrvr::CheckLearnable(bool blocksMapped) {
    // Whatever was stored before is gone: a failed learn leaves no signal to copy out.
    count_ = nextIndex_ = repeatStart_ = 0;
    if (!blocksMapped) return kIrBlockUnmapped;
    if (const int opened = Open(); opened != kIrOk) return opened;
    // The port was opened for the capture: a refusal from here on closes it again.
    if (savedPriority_ == 0) return RefuseCapture(kIrZeroPriority);
    return kIrOk;
}

void CIrDrvr::RaiseForCapture(int priority) const {
    ce::CeSetThreadQuantum(thread_, 0);
    ce::CeSetThreadPriority(thread_, priority);
}

int CIrDrvr::RefuseCapture(int code) {
    Close();
    return code;
}

void CIrDrvr::EndCapture() {
    ce::CeSetThreadPriority(thread_, savedPriority_);
    ce::CeSetThreadQuantum(thread_, static_cast<ce::DWORD>(savedQuantum_));
    Close();
    ce::MSG message;
    while (ce::PeekMessageW(&message, nullptr, ce::WM_MOUSEMOVE, ce::WM_LBUTTONDOWN, ce::PM_REMOVE)) {
    }
}

int CIrDrvr::StoreCapture(const std::int32_t* buffer, std::uint16_t carrierUs) {
    carrier_ = carrierUs;
    return FindRepeatFrame(buffer, BurstRecorder::kEntries);
}

int CIrDrvr::FindRepeatFrame(const std::int32_t* buffer, int length) {
    if (buffer == nullptr || length <= 0) return kIrNoRepeatData;
    const RepeatFrameSearch::Result found = RepeatFrameSearch::Find(buffer, length);
    count_ = found.count;
    repeatStart_ = found.repeatStart;
    nextIndex_ = 0;
    std::fill(std::begin(durations_), std::end(durations_), 0);
    std::copy(buffer, buffer + count_, durations_);
    return kIrOk;
}
