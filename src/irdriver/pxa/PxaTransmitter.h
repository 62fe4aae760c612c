#pragma once
// The transmit pin of the PXA's infrared UART taken over as a plain GPIO output and
// toggled at the carrier, timed on OSCR; shared by CIrDrvrPXA250 and CIrDrvrPXA270,
// which differ only in the OS-timer rate and in which interrupts a mark leaves enabled.

#include <cstdint>

#include "irdriver/OsTimerCounter.h"
#include "ce/Memory.h"

class PxaTransmitter {
public:
    struct Pages {
        ce::RegisterPage timer, gpio, interrupts;
    };

    // uartIndex 1..3 (FFUART, BTUART, STUART); icmrDuringMark is ANDed into ICMR for
    // the length of a mark; counterHz is OSCR's rate, which converts a space to ticks.
    PxaTransmitter(const Pages& pages, int uartIndex, std::uint32_t icmrDuringMark, std::uint32_t counterHz);

    // Pin function and direction saved, the pin made a GPIO output.
    void SetUp();
    void TearDown();
    // Whole carrier cycles only: a mark shorter than one period emits nothing.
    void EmitMark(std::uint32_t us, std::uint32_t carrierUs) const;
    void WaitSpace(std::uint32_t us) const;

    static bool ValidUart(int uartIndex) { return uartIndex >= 1 && uartIndex <= 3; }

private:
    Pages pages_;
    OsTimerCounter counter_;
    int uart_;
    std::uint32_t icmrDuringMark_;
    std::uint32_t counterHz_;
    std::uint32_t savedGpdr1_ = 0;
    std::uint32_t savedGafr1L_ = 0;
};
