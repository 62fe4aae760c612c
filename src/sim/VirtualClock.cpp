#include "sim/VirtualClock.h"

#include <thread>

namespace sim {

namespace {

// Checking the wall clock on every access would cost more than the access itself;
// a little slack keeps the check rare without letting the clock visibly run ahead.
constexpr std::int64_t kPacingSlackNs = 2'000'000;

}  // namespace

void VirtualClock::advance(std::int64_t ns) {
    if (ns <= 0) return;
    now_ += ns;
    if (!pacing_) return;
    unpaced_ += ns;
    if (unpaced_ >= kPacingSlackNs) pace();
}

void VirtualClock::advance_to(std::int64_t ns) {
    if (ns > now_) advance(ns - now_);
}

void VirtualClock::set_pacing(bool on) {
    pacing_ = on;
    anchor_virtual_ = now_;
    anchor_wall_ = std::chrono::steady_clock::now();
    unpaced_ = 0;
}

void VirtualClock::pace() {
    unpaced_ = 0;
    const auto due = anchor_wall_ + std::chrono::nanoseconds(now_ - anchor_virtual_);
    if (due > std::chrono::steady_clock::now()) std::this_thread::sleep_until(due);
}

}  // namespace sim
