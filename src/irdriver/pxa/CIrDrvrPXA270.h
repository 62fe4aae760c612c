#pragma once
// Intel PXA27x: the PXA250 engine on a 3.25 MHz OS timer, with every interrupt masked
// during a mark.

#include "irdriver/pxa/CIrDrvrPXA250.h"

class CIrDrvrPXA270 : public CIrDrvrPXA250 {
private:
    friend class IrDriverFactory;
    CIrDrvrPXA270();
};
