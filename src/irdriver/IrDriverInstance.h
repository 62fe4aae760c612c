#pragma once
// The process's one infrared driver. GetIrDriver creates it on first use, for the
// processor the kernel reports (null when it is not one the driver knows, or the
// processor cannot be asked); ReleaseIrDriver destroys it, unmapping its registers, so
// the next GetIrDriver detects and maps afresh. Callers release it after every use.

#include <memory>

#include "CIrDrvr.h"
#include "ProcessorDetection.h"

CIrDrvr* GetIrDriver();
void ReleaseIrDriver();

// The driver class for a family, constructed (its blocks mapped); null for None.
std::unique_ptr<CIrDrvr> CreateIrDriver(IrDriverFamily family);
