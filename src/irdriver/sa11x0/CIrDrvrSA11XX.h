#pragma once
// StrongARM SA-11x0: TXD2 of serial port 2 (the infrared port) driven through the
// peripheral pin controller, timed on the 3.6864 MHz OS timer. Interrupts stay enabled;
// the thread runs at priority 0 and notification LED 0 is lit while it sends.

#include "irdriver/CIrDrvr.h"
#include "irdriver/RegisterPages.h"
#include "ce/Memory.h"

class CIrDrvrSA11XX : public CIrDrvr {
public:
    static constexpr std::uint32_t kSerialPort2 = 0x80030000, kPinController = 0x90060000, kOsTimer = 0x90000000,
                                   kInterrupts = 0x90050000;

    int Send(std::uint16_t repeatCount, int holdKey) override;
    int Learn() override;
    ~CIrDrvrSA11XX() override;

private:
    friend class IrDriverFactory;
    CIrDrvrSA11XX();

    bool BlocksMapped() const;
    static void SetLed(int state);
    void EmitMark(std::uint32_t us) const;
    void WaitSpace(std::uint32_t us) const;

    RegisterPages pages_;
    ce::RegisterPage serialPort2_, pinController_, timer_, interrupts_;
};
