#pragma once
// OMAP1510 UART3, the infrared UART (page 0xFFFB9000, registers from +0x800).
//
// Register banks follow LCR as on the chip: with LCR bit 7 set, +0x00/+0x04 are DLL/DLH
// and +0x3C is the configuration-mode register; with LCR = 0xBF, +0x08 is EFR; otherwise
// +0x00 is THR, +0x04 IER, +0x08 FCR and +0x3C ACREG. Every register reads back what was
// written in its bank.
//
// Bytes written to THR in UART mode (MDR1 mode bits 0) are really shifted out, one start
// bit, the data bits LSB first and the stop bits, at 48 MHz (12 MHz when OSC_12M_SEL
// bit 0 is set) / (16 × divisor). The LED is lit by 0 bits on the line (the transceiver
// inverts), dark while the line idles, and held dark by a break (LCR bit 6). LSR reports
// THRE (0x20) once the last byte has left the holding register and TEMT (0x40) once it
// has been shifted out completely.
//
// Receiving: with the wake-up enable bit of SCR (0x10) set, SSR bit 0x02 reports the
// first start of a light pulse (falling edge of the receiver's line) since the bit was
// set; clearing the enable bit clears the report.

#include <cstdint>
#include <deque>

#include "sim/Rate.h"
#include "sim/RegisterBlock.h"

namespace sim {

class Omap1510Uart3 : public RegisterBlock {
public:
    static constexpr std::uint32_t kRegisters = 0x800;
    static constexpr std::uint32_t kThr = kRegisters + 0x00;
    static constexpr std::uint32_t kIer = kRegisters + 0x04;
    static constexpr std::uint32_t kEfr = kRegisters + 0x08;
    static constexpr std::uint32_t kLcr = kRegisters + 0x0C;
    static constexpr std::uint32_t kMcr = kRegisters + 0x10;
    static constexpr std::uint32_t kLsr = kRegisters + 0x14;
    static constexpr std::uint32_t kMdr1 = kRegisters + 0x20;
    static constexpr std::uint32_t kAcreg = kRegisters + 0x3C;
    static constexpr std::uint32_t kScr = kRegisters + 0x40;
    static constexpr std::uint32_t kSsr = kRegisters + 0x44;
    static constexpr std::uint32_t kOsc12mSel = kRegisters + 0x4C;
    static constexpr std::uint32_t kThre = 0x20;
    static constexpr std::uint32_t kTemt = 0x40;
    static constexpr std::uint32_t kWakeUpEnable = 0x10;  // SCR
    static constexpr std::uint32_t kWakeUpEdge = 0x02;    // SSR

    Omap1510Uart3(Soc& soc, std::uint32_t physical);

    void advance() override;
    void set_infrared(bool on) override;
    std::int64_t next_change(std::uint32_t offset) const override;
    // Bytes handed to the shifter since boot (tests).
    std::uint64_t bytes_sent() const { return bytes_sent_; }

protected:
    std::uint32_t read_register(std::uint32_t offset) override;
    void write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) override;

private:
    struct Frame {
        std::int64_t start_ns = 0;
        std::uint32_t bits = 0;  // line levels, bit 0 first
        unsigned length = 0;
        Rate bit_rate;
        std::int64_t end_ns() const { return start_ns + bit_rate.ns_for(length); }
    };

    enum class Bank { operational, divisor, enhanced };
    Bank bank() const;
    std::uint32_t banked(std::uint32_t offset) const;
    void transmit(std::uint8_t byte);
    bool shifting_enabled() const;
    std::uint32_t line_status();
    // When the edge the wake-up detector waits for comes (kNever: disarmed or none).
    std::int64_t wake_up_edge() const;
    void emit_led(bool line_low, std::int64_t ns);

    std::uint32_t dll_ = 0, dlh_ = 0, config3c_ = 0, efr_ = 0;
    std::deque<Frame> frames_;
    unsigned emitted_bit_ = 0;  // of frames_.front()
    std::uint64_t bytes_sent_ = 0;
    std::int64_t armed_ns_ = -1;  // when the wake-up detector was enabled, -1 while off
};

}  // namespace sim
