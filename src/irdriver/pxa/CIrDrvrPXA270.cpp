#include "pxa/CIrDrvrPXA270.h"

CIrDrvrPXA270::CIrDrvrPXA270() : CIrDrvrPXA250(Timing{0, 3250, 3250}) {}
