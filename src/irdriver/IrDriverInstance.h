#pragma once
// The process's one infrared driver. GetIrDriver creates it on first use, for the
// processor the kernel reports (null when it is not one the driver knows, or the
// processor cannot be asked); ReleaseIrDriver destroys it, unmapping its registers, so
// the next GetIrDriver detects and maps afresh. Callers release it after every use.

#include <memory>

#include "irdriver/CIrDrvr.h"
#include "irdriver/ProcessorDetection.h"

CIrDrvr* GetIrDriver();
void ReleaseIrDriver();

// The one place a driver is constructed: GetIrDriver makes the process's driver here (the
// driver classes let nobody else), and the missing-block tests make one for another
// processor's family.
class IrDriverFactory {
public:
    // The driver class for a family, its blocks held; null for None.
    static std::unique_ptr<CIrDrvr> Create(IrDriverFamily family);
};
