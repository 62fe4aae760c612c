#pragma once
// How long a capture waits for the first light: 20 seconds on the high-resolution
// counter, in its ticks per millisecond (the low 32 bits of its frequency / 1000).
// The person can give the wait up sooner from another thread (the learning form's
// Cancel): the capture then ends as at its deadline.

#include <cstdint>

class LearnDeadline {
public:
    static constexpr std::int64_t kWaitMs = 20'000;

    LearnDeadline();
    bool Passed() const;

    // Makes every capture under way, and the next ones, end as if their time had run out,
    // until Allow(). Thread-safe.
    static void GiveUp();
    static void Allow();
    std::int64_t at() const { return at_; }

private:
    std::int64_t at_ = 0;
};
