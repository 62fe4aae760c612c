// The processor-information request and the high-resolution counter (ce/Processor.h).

#include <algorithm>
#include <cstring>

#include "ce/Processor.h"
#include "host/hw/Machine.h"
#include "sim/Rate.h"

namespace ce {

namespace {

template <std::size_t N>
void copy_text(WCHAR (&field)[N], std::u16string_view text) {
    const std::size_t chars = std::min(text.size(), N - 1);
    std::copy_n(text.begin(), chars, field);
    field[chars] = 0;
}

constexpr DWORD kArmInstructionSet = 0x1;

}  // namespace

BOOL KernelIoControl(DWORD ioControlCode, LPVOID /*inBuffer*/, DWORD /*inSize*/, LPVOID outBuffer, DWORD outSize,
                     DWORD* bytesReturned) {
    if (ioControlCode != IOCTL_PROCESSOR_INFORMATION) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    if (outBuffer == nullptr || outSize < sizeof(PROCESSOR_INFO)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::lock_guard guard(host::hw::hardware_lock());
    const auto& processor = host::hw::Machine::current().profile().processor;
    PROCESSOR_INFO info;
    info.wVersion = 1;
    copy_text(info.szProcessCore, processor.core);
    copy_text(info.szProcessorName, processor.name);
    copy_text(info.szVendor, processor.vendor);
    info.dwInstructionSet = kArmInstructionSet;
    info.dwClockSpeed = processor.clock_hz;
    std::memcpy(outBuffer, &info, sizeof info);
    if (bytesReturned != nullptr) *bytesReturned = sizeof info;
    return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (count == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard guard(host::hw::hardware_lock());
    auto& machine = host::hw::Machine::current();
    machine.follow_host_clock();
    // Reading the counter costs like reading a register, so a loop polling it advances.
    machine.soc().clock().advance(sim::VirtualClock::kAccessCostNs);
    count->QuadPart = static_cast<std::int64_t>(sim::Rate(machine.profile().performance_hz).ticks_in(machine.soc().clock().now()));
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (frequency == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard guard(host::hw::hardware_lock());
    frequency->QuadPart = static_cast<std::int64_t>(host::hw::Machine::current().profile().performance_hz);
    return TRUE;
}

}  // namespace ce
