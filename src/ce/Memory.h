#pragma once
// Physical register pages. A driver reserves a page of address space, maps a physical
// register block into it and reaches its registers only through the accessors below,
// never by dereferencing: on the device they are plain volatile accesses, on the
// simulated handheld each one reaches the model of the handheld's processor.

#include "ce/Types.h"

namespace ce {

// VirtualAlloc allocation types and VirtualFree free types.
inline constexpr DWORD MEM_COMMIT = 0x1000;
inline constexpr DWORD MEM_RESERVE = 0x2000;
inline constexpr DWORD MEM_DECOMMIT = 0x4000;
inline constexpr DWORD MEM_RELEASE = 0x8000;

// Protections; VirtualCopy takes PAGE_PHYSICAL to map a physical address, which is
// then passed shifted right by 8.
inline constexpr DWORD PAGE_NOACCESS = 0x01;
inline constexpr DWORD PAGE_READONLY = 0x02;
inline constexpr DWORD PAGE_READWRITE = 0x04;
inline constexpr DWORD PAGE_NOCACHE = 0x200;
inline constexpr DWORD PAGE_PHYSICAL = 0x400;
inline constexpr DWORD kRegisterPageBytes = 4096;

// Reserves address space (MEM_RESERVE, PAGE_NOACCESS); null with a last error on failure.
LPVOID VirtualAlloc(LPVOID address, DWORD size, DWORD allocationType, DWORD protect);
// Maps `size` bytes of the physical address source << 8 (with PAGE_PHYSICAL) at a
// reservation. FALSE (ERROR_INVALID_PARAMETER) where the handheld has no such block.
BOOL VirtualCopy(LPVOID destination, LPVOID source, DWORD size, DWORD protect);
// Releases a reservation (MEM_RELEASE, size 0) and whatever is mapped into it.
BOOL VirtualFree(LPVOID address, DWORD size, DWORD freeType);

// Register access at an address inside a mapped page. A write through a read-only
// mapping is dropped; an address outside every mapping reads 0.
BYTE READ_REGISTER_UCHAR(volatile const BYTE* address);
USHORT READ_REGISTER_USHORT(volatile const USHORT* address);
ULONG READ_REGISTER_ULONG(volatile const ULONG* address);
void WRITE_REGISTER_UCHAR(volatile BYTE* address, BYTE value);
void WRITE_REGISTER_USHORT(volatile USHORT* address, USHORT value);
void WRITE_REGISTER_ULONG(volatile ULONG* address, ULONG value);

// A busy-wait on a register: the register (read as 32 bits) and when the wait stops.
// Counter targets compare by the signed difference within the counter's width (`mask`:
// 0xFFFF for a 16-bit counter), so a target beyond a wrap is still waited for.
struct RegisterCondition {
    enum Until : BYTE {
        MaskEquals,        // (read & mask) == value
        MaskDiffers,       // (read & mask) != value: waits while the masked bits hold
        UpCountReaches,    // up-counter: signed (read - value) >= 0 within the width
        DownCountReaches,  // down-counter: signed (read - value) <= 0 within the width
        AtOrBelow,         // (read & mask) <= value
    };
    volatile const ULONG* address = nullptr;
    Until until = MaskEquals;
    ULONG mask = 0xFFFFFFFF;
    ULONG value = 0;
};

// Polls the registers in turn until one's condition holds; returns its index, with what
// was read in *value. On the device this is the plain loop of reads; on the simulated
// handheld it ends at the virtual instant that loop would, without reading every tick
// of a counter on the way, so a long wait costs the host next to nothing.
DWORD WaitForRegisters(const RegisterCondition* conditions, DWORD count, ULONG* value);
// The same, given up once the high-resolution counter (QueryPerformanceCounter) has
// reached `performanceDeadline`, checked after every round of reads: then returns count.
DWORD WaitForRegistersUntil(const RegisterCondition* conditions, DWORD count, std::int64_t performanceDeadline,
                            ULONG* value);

// A mapped page with typed access at byte offsets: the form the drivers use.
class RegisterPage {
public:
    RegisterPage() = default;
    explicit RegisterPage(LPVOID base) : base_(static_cast<volatile BYTE*>(base)) {}

    bool mapped() const { return base_ != nullptr; }
    LPVOID base() const { return const_cast<BYTE*>(base_); }

    BYTE read8(DWORD offset) const { return READ_REGISTER_UCHAR(base_ + offset); }
    USHORT read16(DWORD offset) const { return READ_REGISTER_USHORT(reinterpret_cast<volatile const USHORT*>(base_ + offset)); }
    ULONG read32(DWORD offset) const { return READ_REGISTER_ULONG(reinterpret_cast<volatile const ULONG*>(base_ + offset)); }
    void write8(DWORD offset, BYTE value) const { WRITE_REGISTER_UCHAR(base_ + offset, value); }
    void write16(DWORD offset, USHORT value) const {
        WRITE_REGISTER_USHORT(reinterpret_cast<volatile USHORT*>(base_ + offset), value);
    }
    void write32(DWORD offset, ULONG value) const {
        WRITE_REGISTER_ULONG(reinterpret_cast<volatile ULONG*>(base_ + offset), value);
    }

    RegisterCondition Condition(DWORD offset, RegisterCondition::Until until, ULONG mask, ULONG value) const {
        return {reinterpret_cast<volatile const ULONG*>(base_ + offset), until, mask, value};
    }
    // Waits until the up-counter at `offset` (width `mask`) has reached `target`.
    ULONG WaitUpCount(DWORD offset, ULONG mask, ULONG target) const {
        return WaitFor(Condition(offset, RegisterCondition::UpCountReaches, mask, target));
    }
    // Waits until the down-counter at `offset` (width `mask`) has come down to `target`.
    ULONG WaitDownCount(DWORD offset, ULONG mask, ULONG target) const {
        return WaitFor(Condition(offset, RegisterCondition::DownCountReaches, mask, target));
    }
    // Waits while (register & mask) == value.
    ULONG WaitWhile(DWORD offset, ULONG mask, ULONG value) const {
        return WaitFor(Condition(offset, RegisterCondition::MaskDiffers, mask, value));
    }

private:
    static ULONG WaitFor(const RegisterCondition& condition) {
        ULONG value = 0;
        WaitForRegisters(&condition, 1, &value);
        return value;
    }

    volatile BYTE* base_ = nullptr;
};

}  // namespace ce
