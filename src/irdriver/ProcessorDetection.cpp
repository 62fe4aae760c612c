#include "irdriver/ProcessorDetection.h"

#include <algorithm>
#include <cstring>

namespace {

struct Key {
    std::u16string_view text;
    IrDriverFamily family;
};

constexpr Key kKeys[] = {
    {u"SA11", IrDriverFamily::SA11XX},         {u"PXA250", IrDriverFamily::PXA250},
    {u"PXA255", IrDriverFamily::PXA250},       {u"PXA26", IrDriverFamily::PXA250},
    {u"PXA27", IrDriverFamily::PXA270},        {u"S3C2", IrDriverFamily::SamsungS3C},
    {u"SC32", IrDriverFamily::SamsungS3C},     {u"OMAP1510", IrDriverFamily::OMAP1510},
    {u"ARM920", IrDriverFamily::OMAP1510},     {u"OMAP850", IrDriverFamily::OMAP850},
};

// A fixed-size name field need not be terminated.
std::u16string_view Field(const ce::WCHAR (&field)[40]) {
    const auto* end = std::find(std::begin(field), std::end(field), u'\0');
    return {field, static_cast<std::size_t>(end - field)};
}

}  // namespace

IrDriverFamily ProcessorDetection::FromText(std::u16string_view text) {
    for (const Key& key : kKeys)
        if (text.find(key.text) != std::u16string_view::npos) return key.family;
    return IrDriverFamily::None;
}

bool ProcessorDetection::ReadProcessorInfo(ce::PROCESSOR_INFO& info) {
    info = ce::PROCESSOR_INFO{};
    ce::DWORD returned = 0;
    return ce::KernelIoControl(ce::IOCTL_PROCESSOR_INFORMATION, nullptr, 0, &info, sizeof info, &returned) != 0;
}

std::u16string ProcessorDetection::Text(const ce::PROCESSOR_INFO& info, std::u16string_view separator) {
    std::u16string text(Field(info.szProcessCore));
    text += separator;
    text += Field(info.szProcessorName);
    return text;
}
