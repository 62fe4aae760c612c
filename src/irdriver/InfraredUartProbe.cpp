#include "irdriver/InfraredUartProbe.h"

#include <cstdint>

#include "irdriver/PhysicalPage.h"

namespace {

constexpr std::uint32_t kPxaUarts[] = {0x40100000, 0x40200000, 0x40700000};
constexpr ce::DWORD kPxaIer = 0x04, kPxaIsr = 0x20;
constexpr std::uint32_t kPxaUnitEnable = 0x40, kPxaInfraredBits = 0x03;

constexpr std::uint32_t kS3cUarts[] = {0x50000000, 0x50004000, 0x50008000};
constexpr ce::DWORD kS3cUlcon = 0x00;
constexpr std::uint32_t kS3cInfraredMode = 0x40;

template <class Test>
int FindFirst(const std::uint32_t (&uarts)[3], Test passes) {
    for (int i = 0; i < 3; ++i) {
        ce::RegisterPage page = PhysicalPage::Map(uarts[i]);
        if (!page.mapped()) continue;
        const bool found = passes(page);
        PhysicalPage::Release(page);
        if (found) return i + 1;
    }
    return 0;
}

}  // namespace

int InfraredUartProbe::FindPxa() {
    return FindFirst(kPxaUarts, [](const ce::RegisterPage& uart) {
        return (uart.read32(kPxaIsr) & kPxaInfraredBits) != 0 && (uart.read32(kPxaIer) & kPxaUnitEnable) != 0;
    });
}

int InfraredUartProbe::FindS3c() {
    return FindFirst(kS3cUarts,
                     [](const ce::RegisterPage& uart) { return (uart.read32(kS3cUlcon) & kS3cInfraredMode) != 0; });
}
