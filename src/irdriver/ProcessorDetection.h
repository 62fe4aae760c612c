#pragma once
// Which driver a processor gets, from the text the kernel reports for it: the core name
// and the processor name joined by a space, searched for each key in a fixed order; the
// first key found decides (so a text naming both a PXA255 and a PXA27x is a PXA250).

#include <string>
#include <string_view>

#include "ce/Processor.h"

enum class IrDriverFamily { None, SA11XX, PXA250, PXA270, SamsungS3C, OMAP1510, OMAP850 };

class ProcessorDetection {
public:
    static IrDriverFamily FromText(std::u16string_view text);
    // The kernel's processor record; false when the request fails.
    static bool ReadProcessorInfo(ce::PROCESSOR_INFO& info);
    // Core name and processor name, with `separator` between them.
    static std::u16string Text(const ce::PROCESSOR_INFO& info, std::u16string_view separator);
};
