#include "irdriver/PhysicalPage.h"

#include <cstdint>

namespace {

constexpr ce::DWORD kPageMask = ce::kRegisterPageBytes - 1;
constexpr ce::DWORD kReadWritePhysical = ce::PAGE_PHYSICAL | ce::PAGE_NOCACHE | ce::PAGE_READWRITE;  // 0x604
constexpr ce::DWORD kReadOnlyPhysical = ce::PAGE_PHYSICAL | ce::PAGE_NOCACHE | ce::PAGE_READONLY;    // 0x602

}  // namespace

ce::RegisterPage PhysicalPage::MapWith(std::uint32_t pageAddress, ce::DWORD protect) {
    void* base = ce::VirtualAlloc(nullptr, ce::kRegisterPageBytes, ce::MEM_RESERVE, ce::PAGE_NOACCESS);
    if (base == nullptr) return {};
    // VirtualCopy takes a physical address shifted right by 8 when PAGE_PHYSICAL is given.
    void* source = reinterpret_cast<void*>(static_cast<std::uintptr_t>(pageAddress >> 8));
    if (!ce::VirtualCopy(base, source, ce::kRegisterPageBytes, protect)) {
        ce::VirtualFree(base, 0, ce::MEM_RELEASE);
        return {};
    }
    return ce::RegisterPage(base);
}

ce::RegisterPage PhysicalPage::Map(std::uint32_t physical) { return MapWith(physical & ~kPageMask, kReadWritePhysical); }

void PhysicalPage::Release(ce::RegisterPage& page) {
    if (!page.mapped()) return;
    ce::VirtualFree(page.base(), 0, ce::MEM_RELEASE);
    page = {};
}

std::uint32_t PhysicalPage::ReadOnce(std::uint32_t physical, unsigned width) {
    ce::RegisterPage page = MapWith(physical & ~kPageMask, kReadOnlyPhysical);
    if (!page.mapped()) return 0;
    const ce::DWORD offset = physical & kPageMask;
    std::uint32_t value = 0;
    if (width == 8) value = page.read8(offset);
    else if (width == 16) value = page.read16(offset);
    else value = page.read32(offset);
    Release(page);
    return value;
}
