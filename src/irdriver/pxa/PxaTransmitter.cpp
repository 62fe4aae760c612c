#include "irdriver/pxa/PxaTransmitter.h"

#include "irdriver/OsTimerCarrier.h"

namespace {

// GPIO block.
constexpr ce::DWORD kGpdr1 = 0x10, kGpsr1 = 0x1C, kGpcr1 = 0x28, kGafr1L = 0x5C;
// Interrupt controller: the mask register.
constexpr ce::DWORD kIcmr = 0x04;

struct Pin {
    std::uint32_t bit;           // GPDR1 / GPSR1 / GPCR1
    std::uint32_t functionMask;  // GAFR1_L AND mask: alternate function 0 (GPIO)
};

// TXD of FFUART (GPIO39), BTUART (GPIO43), STUART (GPIO47), by UART index - 1.
constexpr Pin kPins[] = {{0x80, 0xFFFF3FFF}, {0x800, 0xFF3FFFFF}, {0x8000, 0x3FFFFFFF}};

}  // namespace

PxaTransmitter::PxaTransmitter(const Pages& pages, int uartIndex, std::uint32_t icmrDuringMark,
                               std::uint32_t counterHz)
    : pages_(pages),
      counter_(pages.timer),
      uart_(uartIndex),
      icmrDuringMark_(icmrDuringMark),
      counterHz_(counterHz) {}

void PxaTransmitter::SetUp() {
    if (!ValidUart(uart_)) return;
    const Pin& pin = kPins[uart_ - 1];
    // 1. Direction and function saved; 2. the pin a GPIO (function 0); 3. an output.
    savedGpdr1_ = pages_.gpio.read32(kGpdr1);
    savedGafr1L_ = pages_.gpio.read32(kGafr1L);
    pages_.gpio.write32(kGafr1L, savedGafr1L_ & pin.functionMask);
    pages_.gpio.write32(kGpdr1, pages_.gpio.read32(kGpdr1) | pin.bit);
}

void PxaTransmitter::TearDown() {
    if (!ValidUart(uart_)) return;
    // 1. The pin's function, 2. its direction, as they were.
    pages_.gpio.write32(kGafr1L, savedGafr1L_);
    pages_.gpio.write32(kGpdr1, savedGpdr1_);
}

void PxaTransmitter::EmitMark(std::uint32_t us, std::uint32_t carrierUs) const {
    if (!ValidUart(uart_) || carrierUs == 0) return;
    const std::uint32_t bit = kPins[uart_ - 1].bit;
    const std::uint32_t high = OsTimerCarrier::High(), low = OsTimerCarrier::Low();
    // Nothing may interrupt a carrier burst but, where kept, the OS-timer matches.
    const std::uint32_t savedIcmr = pages_.interrupts.read32(kIcmr);
    pages_.interrupts.write32(kIcmr, savedIcmr & icmrDuringMark_);
    const std::uint32_t cycles = us / carrierUs;
    std::uint32_t t = counter_.Now();
    for (std::uint32_t i = 0; i < cycles; ++i) {
        pages_.gpio.write32(kGpsr1, bit);
        counter_.WaitUntil(t += high);
        pages_.gpio.write32(kGpcr1, bit);
        counter_.WaitUntil(t += low);
    }
    pages_.interrupts.write32(kIcmr, pages_.interrupts.read32(kIcmr) | savedIcmr);
}

void PxaTransmitter::WaitSpace(std::uint32_t us) const {
    counter_.WaitTicks(std::uint64_t{us} * counterHz_ / 1'000'000);
}
