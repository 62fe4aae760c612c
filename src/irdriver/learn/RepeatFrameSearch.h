#pragma once
// Finds the frame a remote repeats while its button is held, in a captured signal
// (signed durations, a zero entry ends it): the lead-in is sent once, the frame over
// and over. The search takes the first (i, j) in scan order for which entries i..j-1
// are a frame that the rest of the recording keeps repeating; two entries match when
// they differ by at most a third of the first.

#include <cstdint>

class RepeatFrameSearch {
public:
    struct Result {
        std::uint16_t count;        // entries kept: the lead-in and one frame
        std::uint16_t repeatStart;  // first entry of the frame; count when there is none
    };

    static Result Find(const std::int32_t* buffer, int length);
    // Whether entries i..j-1 are a frame repeated from j on (n entries in all).
    static bool FrameRepeats(const std::int32_t* buffer, int n, int i, int j);
    static bool Matches(std::int32_t a, std::int32_t b);
};
