#include "irdriver/pxa/CIrDrvrPXA270.h"

CIrDrvrPXA270::CIrDrvrPXA270() : CIrDrvrPXA250(Timing{0, 3'250'000, 3250}) {}
