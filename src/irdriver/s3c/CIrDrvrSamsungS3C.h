#pragma once
// Samsung S3C24xx: the infrared UART's transmit pin on port H toggled as a GPIO, timed
// by a borrowed PWM timer whose rate is worked out once from the processor clock, the
// clock divider CLKDIVN and the prescaler in TCFG0. Every interrupt is masked during a
// mark. Durations stay in µs and are converted to ticks for each Send.

#include "irdriver/CIrDrvr.h"
#include "irdriver/RegisterPages.h"
#include "ce/Memory.h"

class PwmTimer;

class CIrDrvrSamsungS3C : public CIrDrvr {
public:
    static constexpr std::uint32_t kTimers = 0x51000000, kGpio = 0x56000000, kInterrupts = 0x4A000000;
    static constexpr std::uint32_t kClkdivn = 0x4C000014;
    static constexpr std::uint32_t kDefaultTicksPerMs = 1000;
    static constexpr float kUnreportedClockMhz = 203;
    static constexpr std::uint32_t kHighestClockMhz = 1000;

    int Send(std::uint16_t repeatCount, int holdKey) override;
    int Learn() override;
    ~CIrDrvrSamsungS3C() override;
    int Open() override;

    std::uint32_t ticksPerMs() const { return ticksPerMs_; }
    static int UartIndex() { return uart_; }
    // The timer rate for a reported clock speed, processor text (core + name), CLKDIVN
    // and TCFG0, in the single-precision arithmetic the rate has always been taken with.
    static std::uint32_t TicksPerMs(std::uint32_t clockSpeed, bool is244x, std::uint32_t clkdivn,
                                    std::uint32_t tcfg0);

private:
    friend class IrDriverFactory;
    CIrDrvrSamsungS3C();

    bool BlocksMapped() const;
    std::uint32_t MeasureTicksPerMs() const;
    void EmitMark(std::uint32_t ticks, const PwmTimer& timer) const;

    std::uint32_t ticksPerMs_ = kDefaultTicksPerMs;
    std::uint32_t high_ = 0, low_ = 0;

    RegisterPages pages_;
    ce::RegisterPage timers_, gpio_, interrupts_;
    static inline int uart_ = 0;
};
