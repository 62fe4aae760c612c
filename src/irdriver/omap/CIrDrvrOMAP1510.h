#pragma once
// TI OMAP1510: the infrared UART (UART3) itself makes the carrier, sending 0x55 at twice
// the carrier frequency with a divisor from a table; an MPU one-shot timer cuts each mark
// and times each space. SetSignal reprograms the UART and the pin configuration, which
// stay so until Close puts them back.

#include "irdriver/CIrDrvr.h"
#include "irdriver/RegisterPages.h"
#include "ce/Memory.h"

class CIrDrvrOMAP1510 : public CIrDrvr {
public:
    static constexpr std::uint32_t kUart3 = 0xFFFB9000, kConfiguration = 0xFFFE1000;
    static constexpr std::int64_t kTicksPerMs = 3038;

    int Close() override;
    int SetSignal(const std::int32_t* durations, std::uint16_t count, std::uint16_t repeatStart,
                  std::uint16_t carrierPeriodUs) override;
    int Send(std::uint16_t repeatCount, int holdKey) override;
    int Learn() override;
    ~CIrDrvrOMAP1510() override;

    // The UART divisor for a carrier period, clamped to 11..100 µs.
    static std::uint8_t Divisor(std::uint16_t periodUs);
    bool registersChanged() const { return registersChanged_; }

private:
    friend class IrDriverFactory;
    CIrDrvrOMAP1510();

    struct Saved {
        std::uint8_t scr, mdr1, lcr, efr, ier, dll, dlh, xonConfig, acreg;
        std::uint32_t conf18, conf80;
    };

    bool BlocksMapped() const;
    void Reg(ce::DWORD offset, std::uint8_t value) const;
    std::uint8_t Reg(ce::DWORD offset) const;
    void ProgramUart(std::uint8_t divisor);
    void RestoreUart();
    void EmitMark(std::uint32_t ticks, const class MpuTimer& timer) const;
    static void WaitSpace(std::uint32_t ticks, const class MpuTimer& timer);

    bool registersChanged_ = false;
    Saved saved_{};

    RegisterPages pages_;
    ce::RegisterPage uart3_, timers_, configuration_;
};
