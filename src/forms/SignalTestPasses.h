#pragma once
// How many passes the signal form's Test sends a signal with, by its repeat mode: the
// default mode 3 passes, "Repeat 1 times" one, any other count 3; "Repeat for" one pass
// and then one more per repeat frame (from repeatStart to the end) until the duration
// is covered, at most 201 in all. Test sends them counted (the hold key plays no part
// with a count other than 0 and 65535): the whole signal once, then the repeat frame.

#include <cstdint>
#include <vector>

class SignalTestPasses {
public:
    static constexpr int kMostPasses = 201;

    static int For(int repeat_mode, int duration_ms, const std::vector<std::int32_t>& durations,
                   std::uint16_t repeat_start);
};
