#include "irdriver/learn/LearnDeadline.h"

#include "ce/Processor.h"

LearnDeadline::LearnDeadline() {
    ce::LARGE_INTEGER frequency, now;
    const std::int64_t ticksPerMs = ce::QueryPerformanceFrequency(&frequency) ? frequency.u.LowPart / 1000 : 0;
    at_ = (ce::QueryPerformanceCounter(&now) ? now.QuadPart : 0) + ticksPerMs * kWaitMs;
}

bool LearnDeadline::Passed() const {
    ce::LARGE_INTEGER now;
    return ce::QueryPerformanceCounter(&now) && now.QuadPart > at_;
}
