#include "irdriver/learn/LearnDeadline.h"

#include <atomic>

#include "ce/Processor.h"

namespace {

std::atomic<bool> g_given_up{false};

}  // namespace

LearnDeadline::LearnDeadline() {
    ce::LARGE_INTEGER frequency, now;
    const std::int64_t ticksPerMs = ce::QueryPerformanceFrequency(&frequency) ? frequency.u.LowPart / 1000 : 0;
    at_ = (ce::QueryPerformanceCounter(&now) ? now.QuadPart : 0) + ticksPerMs * kWaitMs;
}

void LearnDeadline::GiveUp() { g_given_up.store(true); }

void LearnDeadline::Allow() { g_given_up.store(false); }

bool LearnDeadline::Passed() const {
    if (g_given_up.load(std::memory_order_relaxed)) return true;
    ce::LARGE_INTEGER now;
    return ce::QueryPerformanceCounter(&now) && now.QuadPart > at_;
}
