#pragma once
// Intel PXA250, PXA255 and PXA26x: the infrared UART's transmit pin toggled as a GPIO,
// timed on the OS timer (3.6864 MHz); all but the four OS-timer match interrupts are masked during a mark.
// Open first looks for a UART the platform already runs in infrared mode.

#include "irdriver/CIrDrvr.h"
#include "irdriver/RegisterPages.h"
#include "ce/Memory.h"

class CIrDrvrPXA250 : public CIrDrvr {
public:
    static constexpr std::uint32_t kOsTimer = 0x40A00000, kGpio = 0x40E00000, kInterrupts = 0x40D00000;
    // ICMR bits 26-29: the four OS-timer match interrupts, left enabled during a mark.
    static constexpr std::uint32_t kOsTimerMatches = 0x3C000000;

    int Send(std::uint16_t repeatCount, int holdKey) override;
    int Learn() override;
    ~CIrDrvrPXA250() override;
    int Open() override;

    // The UART found in infrared mode (1..3), 0 if none.
    static int UartIndex() { return uart_; }

protected:
    // What differs between the members of the family: the OS timer's rate and the
    // interrupts left enabled while a mark is toggled.
    struct Timing {
        std::uint32_t icmrDuringMark;
        std::uint32_t counterHz;  // OSCR's rate, which times the spaces
        // The rate the carrier's half periods are counted at, when it is not the
        // 3.6864 MHz that SetSignal computes them for; 0 keeps SetSignal's.
        std::uint32_t carrierTicksPerMs;
    };
    explicit CIrDrvrPXA250(const Timing& timing);

private:
    friend class IrDriverFactory;
    CIrDrvrPXA250();

    bool BlocksMapped() const;

    const Timing timing_;
    RegisterPages pages_;
    ce::RegisterPage timer_, gpio_, interrupts_;
    static inline int uart_ = 0;
};
