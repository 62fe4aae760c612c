#include "irdriver/omap/MpuTimer.h"

MpuTimer MpuTimer::FirstIdle(const ce::RegisterPage& block, const int (&order)[3], int whenAllBusy) {
    for (int number : order) {
        const MpuTimer timer(block, number);
        if (!timer.Running()) return timer;
    }
    return MpuTimer(block, whenAllBusy);
}
