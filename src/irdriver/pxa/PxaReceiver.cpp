#include "irdriver/pxa/PxaReceiver.h"

namespace {

// GPIO block: levels, direction, alternate functions of GPIO32-47.
constexpr ce::DWORD kGplr1 = 0x04, kGpdr1 = 0x10, kGafr1L = 0x5C;
// Interrupt controller: the mask register, and the one interrupt left on while capturing.
constexpr ce::DWORD kIcmr = 0x04;
constexpr std::uint32_t kOsTimerMatch0 = 0x04000000;

struct Pin {
    std::uint32_t bit;           // GPLR1 / GPDR1
    std::uint32_t functionBits;  // GAFR1_L field, cleared for GPIO
};

// RXD of FFUART (GPIO34), BTUART (GPIO42), STUART (GPIO46), by UART index - 1.
constexpr Pin kPins[] = {{0x04, 0x30}, {0x400, 0x300000}, {0x4000, 0x30000000}};

}  // namespace

PxaReceiver::PxaReceiver(const Pages& pages, int uartIndex, std::uint32_t ticksPerMs)
    : pages_(pages), uart_(uartIndex), ticksPerMs_(ticksPerMs) {}

EdgeCapture::Result PxaReceiver::Capture(std::int32_t* buffer, const LearnDeadline& deadline) {
    const Pin& pin = kPins[uart_ - 1];
    const std::uint32_t savedGafr1L = pages_.gpio.read32(kGafr1L);
    const std::uint32_t savedGpdr1 = pages_.gpio.read32(kGpdr1);
    pages_.gpio.write32(kGafr1L, savedGafr1L & ~pin.functionBits);
    pages_.gpio.write32(kGpdr1, savedGpdr1 & ~pin.bit);  // input

    bool masked = false;
    std::uint32_t savedIcmr = 0;
    const auto maskInterrupts = [&] {
        savedIcmr = pages_.interrupts.read32(kIcmr);
        pages_.interrupts.write32(kIcmr, savedIcmr & kOsTimerMatch0);
        masked = true;
    };
    const ReceiveLine line(pages_.gpio, kGplr1, pin.bit);
    const EdgeCapture::Result result = OsTimerCapture(pages_.timer, line, ticksPerMs_).Run(buffer, deadline, maskInterrupts);

    if (masked) pages_.interrupts.write32(kIcmr, savedIcmr);
    pages_.gpio.write32(kGafr1L, savedGafr1L);
    pages_.gpio.write32(kGpdr1, savedGpdr1);
    return result;
}
