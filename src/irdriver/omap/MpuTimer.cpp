#include "omap/MpuTimer.h"

MpuTimer MpuTimer::FirstIdle(const ce::RegisterPage& block, const int (&order)[3]) {
    for (int number : order) {
        const MpuTimer timer(block, number);
        if (!timer.Running()) return timer;
    }
    return MpuTimer(block, order[2]);
}
