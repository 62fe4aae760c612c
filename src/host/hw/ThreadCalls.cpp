// Thread priority, quantum and Sleep (ce/Thread.h). Priorities are recorded, not
// applied to the Linux thread (real-time scheduling would need privileges and would
// starve the host); every change is journaled so tests can see it put back.

#include <chrono>
#include <thread>

#include "ce/Thread.h"
#include "host/hw/Machine.h"

namespace ce {

namespace {

HANDLE const kCurrentThread = reinterpret_cast<HANDLE>(~std::uintptr_t{1});  // (HANDLE)-2
constexpr DWORD kDefaultQuantum = 100;

struct Scheduling {
    int priority = THREAD_PRIORITY_NORMAL_256;
    DWORD quantum = kDefaultQuantum;
};

thread_local Scheduling t_scheduling;

bool current(HANDLE thread) {
    if (thread == kCurrentThread) return true;
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
}

void journal(const char* name, std::uint32_t previous, std::uint32_t value) {
    std::lock_guard guard(host::hw::hardware_lock());
    auto& soc = host::hw::Machine::current().soc();
    soc.journal().record(name, previous, value, soc.clock().now());
}

}  // namespace

HANDLE GetCurrentThread() { return kCurrentThread; }

int CeGetThreadPriority(HANDLE thread) {
    return current(thread) ? t_scheduling.priority : 0x7FFFFFFF;  // THREAD_PRIORITY_ERROR_RETURN
}

BOOL CeSetThreadPriority(HANDLE thread, int priority) {
    if (!current(thread)) return FALSE;
    if (priority < 0 || priority > 255) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    journal("thread priority", static_cast<std::uint32_t>(t_scheduling.priority), static_cast<std::uint32_t>(priority));
    t_scheduling.priority = priority;
    return TRUE;
}

DWORD CeGetThreadQuantum(HANDLE thread) { return current(thread) ? t_scheduling.quantum : 0xFFFFFFFF; }

BOOL CeSetThreadQuantum(HANDLE thread, DWORD quantum) {
    if (!current(thread)) return FALSE;
    journal("thread quantum", t_scheduling.quantum, quantum);
    t_scheduling.quantum = quantum;
    return TRUE;
}

void Sleep(DWORD milliseconds) {
    {
        std::lock_guard guard(host::hw::hardware_lock());
        auto& machine = host::hw::Machine::current();
        if (machine.in_session()) return machine.soc().sleep_ms(milliseconds);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    std::lock_guard guard(host::hw::hardware_lock());
    host::hw::Machine::current().follow_host_clock();
}

}  // namespace ce
