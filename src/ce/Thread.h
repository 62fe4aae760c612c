#pragma once
// The calling thread's scheduling: priority on the 256-level scale (0 highest, 251
// normal), quantum in milliseconds (0 = run to completion), and Sleep.

#include "ce/Types.h"

namespace ce {

inline constexpr int THREAD_PRIORITY_NORMAL_256 = 251;

// The current-thread pseudo-handle; the scheduling calls accept only this handle.
HANDLE GetCurrentThread();

int CeGetThreadPriority(HANDLE thread);
BOOL CeSetThreadPriority(HANDLE thread, int priority);  // 0..255
DWORD CeGetThreadQuantum(HANDLE thread);
BOOL CeSetThreadQuantum(HANDLE thread, DWORD quantum);

// While the process has register pages mapped (a driver is at work) Sleep advances the
// SoC's virtual clock by the full amount, returning at once unless pacing holds the
// clock to the wall clock; otherwise it really sleeps, and the virtual clock follows.
void Sleep(DWORD milliseconds);

}  // namespace ce
