#pragma once
// The infrared driver as the rest of the system sees it: a stored signal (signed
// durations, positive = carrier on), the serial port that puts the platform's UART into
// raw infrared mode, and the thread's scheduling saved at the first Open so every
// time-critical section can put it back. One subclass per processor family adds the
// register handling; GetIrDriver (IrDriverInstance.h) picks it from the processor.
//
// The virtual operations are declared in their slot order: Close, SetSignal, Send,
// Learn, the destructor, Open.

#include <cstdint>
#include <memory>
#include <string>

#include "irdriver/IrResult.h"
#include "irdriver/PassLoop.h"
#include "ce/Infrared.h"
#include "ce/Types.h"

class IrDriverFactory;

class CIrDrvr {
public:
    static constexpr std::uint16_t kMaxEntries = 300;
    static constexpr std::int32_t kAppendedGapUs = 500'000;
    static constexpr std::uint16_t kDefaultCarrierUs = 26;

    CIrDrvr(const CIrDrvr&) = delete;
    CIrDrvr& operator=(const CIrDrvr&) = delete;

    // Closes the serial port (CLRIR first) if it is open.
    virtual int Close();
    // Stores a signal and opens the port; see the result codes in IrResult.h.
    virtual int SetSignal(const std::int32_t* durations, std::uint16_t count, std::uint16_t repeatStart,
                          std::uint16_t carrierPeriodUs);
    // Emits the stored signal: counted passes, or passes while holdKey is down.
    virtual int Send(std::uint16_t repeatCount, int holdKey) = 0;
    // Captures a signal from the receiver into the stored signal.
    virtual int Learn() = 0;
    virtual ~CIrDrvr();
    // Opens the serial port named by SetPortName in raw infrared mode.
    virtual int Open();

    // The port device name ("COM3:"); null clears it.
    void SetPortName(const char16_t* name);
    // Copies out the stored signal: count 0 and a null array when there is none.
    // repeatStart is clamped to count (in the driver too).
    void GetLearnedSignal(std::unique_ptr<std::int32_t[]>& durations, std::uint16_t& count,
                          std::uint16_t& repeatStart, std::uint16_t& carrier);

    // The repeat-frame search over a captured buffer (a zero entry ends it): keeps the
    // lead-in and one repeated frame as the stored signal. 201 for no buffer.
    int FindRepeatFrame(const std::int32_t* buffer, int length);

    // What the driver holds, for callers that show or check it.
    std::uint16_t count() const { return count_; }
    std::uint16_t nextIndex() const { return nextIndex_; }
    std::uint16_t repeatStart() const { return repeatStart_; }
    std::uint16_t carrier() const { return carrier_; }
    std::int32_t duration(std::uint16_t index) const { return index < kMaxEntries ? durations_[index] : 0; }
    bool portOpen() const { return port_ != ce::INVALID_HANDLE_VALUE; }
    const std::u16string& portName() const { return portName_; }

protected:
    CIrDrvr() = default;

    // Step 1 of Open: the thread and its scheduling, captured once per driver.
    void CaptureThread();
    // The stored-signal steps shared by every SetSignal: clamps, copies, appends the
    // closing gap after a trailing mark. Returns kIrOk or kIrNoData.
    int StoreDurations(const std::int32_t* durations, std::uint16_t count, std::uint16_t repeatStart,
                       std::int32_t appendedGap);
    // The prelude of the OMAP SetSignal: opens the port, stores the signal and converts
    // it to timer ticks (ticksPerMs / 1000 per µs, toward zero, saturating). Returns the
    // first refusal (Open's, 11, 12) or kIrOk.
    int StoreSignalInTicks(const std::int32_t* durations, std::uint16_t count, std::uint16_t repeatStart,
                           std::uint16_t carrierPeriodUs, std::int64_t ticksPerMs);
    // The checks every Send makes before it touches anything.
    int CheckSendable(bool blocksMapped) const;
    // The entry's length (its absolute value), for the engine.
    static std::uint32_t Length(std::int32_t entry);
    // The stylus and key messages that piled up during the busy-wait are dropped.
    static void FlushInput();
    // Learn's checks before anything is changed (blocks, Open, the thread's priority),
    // after the stored signal is dropped.
    int CheckLearnable(bool blocksMapped);
    // A learn refused after CheckLearnable opened the port: the port is closed, so the
    // UART leaves infrared mode at once rather than when the driver is released.
    int RefuseCapture(int code);
    // Quantum 0 (run to completion) and the capture's priority, until EndCapture.
    void RaiseForCapture(int priority) const;
    // Scheduling put back, port closed, the taps made during the capture dropped.
    void EndCapture();
    // A capture's buffer (µs) and carrier become the stored signal, searched for its
    // repeated frame.
    int StoreCapture(const std::int32_t* buffer, std::uint16_t carrierUs);
    // The passes of one Send over `entries` (the stored signal, or the engine's own
    // conversion of it), framed as one transmission: markOf(length) lights a mark,
    // spaceOf(length) waits out a space.
    template <class Mark, class Space>
    void SendPasses(const std::int32_t* entries, PassLoop::Priorities priorities, std::uint16_t repeatCount,
                    int holdKey, Mark&& markOf, Space&& spaceOf) {
        ce::BeginInfraredTrace();
        PassLoop(thread_, savedPriority_, priorities)
            .Run(entries, count_, nextIndex_, repeatStart_, repeatCount, holdKey, [&](std::int32_t entry) {
                const std::uint32_t length = Length(entry);
                if (entry > 0) markOf(length);
                else spaceOf(length);
            });
        ce::EndInfraredTrace();
    }

    std::uint16_t count_ = 0;
    std::uint16_t nextIndex_ = 0;
    std::uint16_t repeatStart_ = 0;
    std::uint16_t carrier_ = 0;
    ce::HANDLE port_ = ce::INVALID_HANDLE_VALUE;
    std::int32_t durations_[kMaxEntries] = {};
    std::u16string portName_;
    ce::HANDLE thread_ = nullptr;
    int savedPriority_ = 0;
    int savedQuantum_ = 100;
};
