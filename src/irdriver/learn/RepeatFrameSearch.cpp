#include "irdriver/learn/RepeatFrameSearch.h"

#include <cstdlib>

namespace {

constexpr int kLastSecondFrame = 290;  // a second frame starting later is never taken
constexpr int kMostEntries = 300;

std::int64_t Magnitude(std::int32_t value) { return std::llabs(std::int64_t{value}); }

}  // namespace

bool RepeatFrameSearch::Matches(std::int32_t a, std::int32_t b) {
    return std::llabs(Magnitude(a) - Magnitude(b)) <= Magnitude(a) / 3;
}

bool RepeatFrameSearch::FrameRepeats(const std::int32_t* buffer, int n, int i, int j) {
    if (n <= i || n <= j || i >= j) return false;
    if (i > 0 && j > 3 * i) return false;
    if (j > kLastSecondFrame) return false;
    const int length = j - i;
    for (int k = 0; k < length; ++k) {
        if (j + k >= n) {
            if (k < 5) return false;
            break;
        }
        if (!Matches(buffer[i + k], buffer[j + k])) return false;
    }
    // The whole rest of the recording follows the frame, copy after copy.
    int copies = 0;
    for (int x = j, k = 0; x < n; ++x) {
        if (!Matches(buffer[i + k], buffer[x])) return false;
        if (++k == length) {
            k = 0;
            ++copies;
        }
    }
    if (copies > 0) {
        if (n >= kMostEntries - 1 || i <= 2) return true;
        // A frame after a lead-in starts behind a space far longer than the mark before it.
        return buffer[i - 1] < 0 && Magnitude(buffer[i - 1]) > 4 * std::int64_t{buffer[i - 2]};
    }
    return j >= 151 && n - j > length / 2;
}

RepeatFrameSearch::Result RepeatFrameSearch::Find(const std::int32_t* buffer, int length) {
    int n = 0;
    while (n < length && n < kMostEntries && buffer[n] != 0) ++n;
    std::int32_t longest = 0;
    for (int x = 0; x < n; ++x)
        if (buffer[x] < longest) longest = buffer[x];
    const int step = n % 2 == 0 ? 2 : 1;
    for (int i = 0; i < n; i += step) {
        for (int j = i + 2; j < n; j += step) {
            if ((std::int64_t{buffer[i]} * buffer[j]) < 0) continue;
            if (!Matches(buffer[i], buffer[j])) continue;
            if (!FrameRepeats(buffer, n, i, j)) continue;
            // The space before the second frame is one of the longest of the recording.
            if (std::int64_t{buffer[j - 1]} * 140 / 100 < longest)
                return {static_cast<std::uint16_t>(j), static_cast<std::uint16_t>(i)};
        }
    }
    return {static_cast<std::uint16_t>(n), static_cast<std::uint16_t>(n)};
}
