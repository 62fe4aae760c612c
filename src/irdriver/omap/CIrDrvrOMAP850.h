#pragma once
// TI OMAP850: a GPIO pin toggled at the carrier, timed by a free-running MPU timer at
// 6.48 MHz; durations and the carrier period are kept in timer ticks. Interrupts stay
// enabled; pins, masks and the timer are put back at the end of every Send.

#include "irdriver/CIrDrvr.h"
#include "irdriver/RegisterPages.h"
#include "ce/Memory.h"

class MpuTimer;

class CIrDrvrOMAP850 : public CIrDrvr {
public:
    static constexpr std::uint32_t kIrUart = 0xFFFB0000, kGpio = 0xFFFBC000, kConfiguration = 0xFFFE1000;
    static constexpr std::int64_t kTicksPerMs = 6480;

    int Close() override;
    int SetSignal(const std::int32_t* durations, std::uint16_t count, std::uint16_t repeatStart,
                  std::uint16_t carrierPeriodUs) override;
    int Send(std::uint16_t repeatCount, int holdKey) override;
    int Learn() override;
    ~CIrDrvrOMAP850() override;

    bool registersChanged() const { return registersChanged_; }

private:
    friend class IrDriverFactory;
    CIrDrvrOMAP850();

    bool BlocksMapped() const;
    void EmitMark(std::uint32_t ticks, const MpuTimer& timer) const;
    static void WaitSpace(std::uint32_t ticks, const MpuTimer& timer);

    bool registersChanged_ = false;

    RegisterPages pages_;
    ce::RegisterPage irUart_, timers_, gpio_, configuration_;
    static inline std::uint32_t high_ = 0, low_ = 0;
};
