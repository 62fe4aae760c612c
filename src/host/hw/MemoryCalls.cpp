// Physical page mapping and register access (ce/Memory.h) onto the SoC model.

#include "ce/Memory.h"

#include <algorithm>
#include <span>
#include "host/hw/Machine.h"
#include "host/hw/PageTable.h"
#include "sim/Rate.h"

namespace ce {

namespace {

constexpr DWORD kAccessMask = 0xFF;

// The two lists of conditions name the same tests in the same order.
static_assert(static_cast<int>(sim::WaitCondition::Until::differ) == RegisterCondition::MaskDiffers);
static_assert(static_cast<int>(sim::WaitCondition::Until::at_or_below) == RegisterCondition::AtOrBelow);

template <unsigned Width>
std::uint32_t read_at(const volatile void* address) {
    std::lock_guard guard(host::hw::hardware_lock());
    std::uint32_t offset = 0;
    const auto* page = host::hw::PageTable::instance().find(address, &offset);
    if (page == nullptr) return 0;
    return page->machine->soc().read(*page->block, offset, Width);
}

template <unsigned Width>
void write_at(volatile void* address, std::uint32_t value) {
    std::lock_guard guard(host::hw::hardware_lock());
    std::uint32_t offset = 0;
    const auto* page = host::hw::PageTable::instance().find(address, &offset);
    if (page == nullptr || !page->writable) return;
    page->machine->soc().write(*page->block, offset, Width, value);
}

}  // namespace

LPVOID VirtualAlloc(LPVOID address, DWORD size, DWORD allocationType, DWORD protect) {
    if (address != nullptr || size == 0 || (allocationType & MEM_RESERVE) == 0 || (protect & kAccessMask) != PAGE_NOACCESS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard guard(host::hw::hardware_lock());
    void* base = host::hw::PageTable::instance().reserve(size);
    if (base == nullptr) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return base;
}

BOOL VirtualCopy(LPVOID destination, LPVOID source, DWORD size, DWORD protect) {
    const DWORD access = protect & kAccessMask;
    if (destination == nullptr || size == 0 || size > kRegisterPageBytes || (protect & PAGE_PHYSICAL) == 0 ||
        (access != PAGE_READONLY && access != PAGE_READWRITE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto physical = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(source) << 8);
    std::lock_guard guard(host::hw::hardware_lock());
    auto& machine = host::hw::Machine::current();
    sim::RegisterBlock* block = machine.soc().block_at(physical);
    if (block == nullptr || (physical % kRegisterPageBytes) != 0 ||
        !host::hw::PageTable::instance().map(destination, *block, machine, access == PAGE_READWRITE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

BOOL VirtualFree(LPVOID address, DWORD size, DWORD freeType) {
    if (address == nullptr || freeType != MEM_RELEASE || size != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard guard(host::hw::hardware_lock());
    if (!host::hw::PageTable::instance().release(address)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

DWORD WaitForRegisters(const RegisterCondition* conditions, DWORD count, ULONG* value) {
    return WaitForRegistersUntil(conditions, count, -1, value);
}

DWORD WaitForRegistersUntil(const RegisterCondition* conditions, DWORD count, std::int64_t performanceDeadline,
                            ULONG* value) {
    constexpr DWORD kMostConditions = 4;
    sim::WaitCondition waits[kMostConditions];
    ULONG read = 0;
    if (value == nullptr) value = &read;
    std::lock_guard guard(host::hw::hardware_lock());
    count = std::min(count, kMostConditions);
    sim::Soc* soc = nullptr;
    for (DWORD i = 0; i < count; ++i) {
        std::uint32_t offset = 0;
        const auto* page = host::hw::PageTable::instance().find(conditions[i].address, &offset);
        // An unmapped register reads 0 for ever; rather than spin on it, the wait ends.
        if (page == nullptr) {
            *value = 0;
            return i;
        }
        soc = &page->machine->soc();
        waits[i] = {page->block, offset, static_cast<sim::WaitCondition::Until>(conditions[i].until), conditions[i].mask,
                    conditions[i].value};
    }
    if (soc == nullptr) return 0;
    std::int64_t deadline = sim::RegisterBlock::kNever;
    if (performanceDeadline >= 0)
        deadline = sim::Rate(host::hw::Machine::current().profile().performance_hz)
                       .ns_for(static_cast<std::uint64_t>(performanceDeadline));
    std::uint32_t last = 0;
    const std::size_t index = soc->wait(std::span(waits, count), &last, deadline);
    *value = last;
    return static_cast<DWORD>(index);
}

BYTE READ_REGISTER_UCHAR(volatile const BYTE* address) { return static_cast<BYTE>(read_at<8>(address)); }
USHORT READ_REGISTER_USHORT(volatile const USHORT* address) { return static_cast<USHORT>(read_at<16>(address)); }
ULONG READ_REGISTER_ULONG(volatile const ULONG* address) { return read_at<32>(address); }
void WRITE_REGISTER_UCHAR(volatile BYTE* address, BYTE value) { write_at<8>(address, value); }
void WRITE_REGISTER_USHORT(volatile USHORT* address, USHORT value) { write_at<16>(address, value); }
void WRITE_REGISTER_ULONG(volatile ULONG* address, ULONG value) { write_at<32>(address, value); }

}  // namespace ce
