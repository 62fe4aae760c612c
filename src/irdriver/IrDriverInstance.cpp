#include "irdriver/IrDriverInstance.h"

#include "irdriver/omap/CIrDrvrOMAP1510.h"
#include "irdriver/omap/CIrDrvrOMAP850.h"
#include "irdriver/pxa/CIrDrvrPXA250.h"
#include "irdriver/pxa/CIrDrvrPXA270.h"
#include "irdriver/s3c/CIrDrvrSamsungS3C.h"
#include "irdriver/sa11x0/CIrDrvrSA11XX.h"

namespace {

std::unique_ptr<CIrDrvr>& Slot() {
    static std::unique_ptr<CIrDrvr> driver;
    return driver;
}

}  // namespace

std::unique_ptr<CIrDrvr> IrDriverFactory::Create(IrDriverFamily family) {
    switch (family) {
        case IrDriverFamily::SA11XX: return std::unique_ptr<CIrDrvr>(new CIrDrvrSA11XX);
        case IrDriverFamily::PXA250: return std::unique_ptr<CIrDrvr>(new CIrDrvrPXA250);
        case IrDriverFamily::PXA270: return std::unique_ptr<CIrDrvr>(new CIrDrvrPXA270);
        case IrDriverFamily::SamsungS3C: return std::unique_ptr<CIrDrvr>(new CIrDrvrSamsungS3C);
        case IrDriverFamily::OMAP1510: return std::unique_ptr<CIrDrvr>(new CIrDrvrOMAP1510);
        case IrDriverFamily::OMAP850: return std::unique_ptr<CIrDrvr>(new CIrDrvrOMAP850);
        case IrDriverFamily::None: break;
    }
    return nullptr;
}

CIrDrvr* GetIrDriver() {
    auto& driver = Slot();
    if (driver) return driver.get();
    ce::PROCESSOR_INFO info;
    if (!ProcessorDetection::ReadProcessorInfo(info)) return nullptr;
    driver = IrDriverFactory::Create(ProcessorDetection::FromText(ProcessorDetection::Text(info, u" ")));
    return driver.get();
}

void ReleaseIrDriver() { Slot().reset(); }
