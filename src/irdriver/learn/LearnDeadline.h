#pragma once
// How long a capture waits for the first light: 20 seconds on the high-resolution
// counter, in its ticks per millisecond (the low 32 bits of its frequency / 1000).

#include <cstdint>

class LearnDeadline {
public:
    static constexpr std::int64_t kWaitMs = 20'000;

    LearnDeadline();
    bool Passed() const;
    std::int64_t at() const { return at_; }

private:
    std::int64_t at_ = 0;
};
