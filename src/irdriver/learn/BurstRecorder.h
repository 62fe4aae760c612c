#pragma once
// Turns the times of a receiver's carrier edges into the captured signal: edges closer
// together than the gap that ends a mark belong to one burst (a mark, from its first
// edge to its last); a longer pause is a space, from the last edge of one burst to the
// first of the next. Entries are written in pairs, mark then space, into a buffer of
// kEntries (zeroed by the caller); a zero entry ends the signal.
//
// Times are counter ticks, read as a 32-bit up-count (differences wrap safely); entries
// are kept in the family's units, ticks × scale / divisor.

#include <cstdint>

class BurstRecorder {
public:
    static constexpr int kEntries = 300;
    static constexpr int kLongGapsToStop = 4;

    struct Rules {
        std::int64_t scale = 1, divisor = 1;  // ticks -> entry units
        std::int64_t longGapFrom = 0;          // a space at least this long is a long gap
        std::int64_t markLimit = 0;            // a longer mark stops the recording
    };
    enum class Stop { none, silence, longGaps, full, markTooLong };

    BurstRecorder(std::int32_t* buffer, const Rules& rules, std::int64_t period);

    // The carrier measurement's first and last edge open the first burst.
    void Start(std::uint32_t burstStart, std::uint32_t lastEdge);
    // An edge at `now`; with `silent` the line stayed dark and `now` ends the recording.
    Stop Edge(std::uint32_t now, bool silent);
    int entries() const { return entries_; }
    std::int64_t ToEntry(std::uint32_t ticks) const;
    // Every entry before the first zero as value × scale / divisor, toward zero, in
    // 64 bits and held to the 32-bit range.
    static void Convert(std::int32_t* buffer, std::int64_t scale, std::int64_t divisor);

private:
    std::int32_t* buffer_;
    Rules rules_;
    std::int64_t period_;
    std::uint32_t burstStart_ = 0, lastEdge_ = 0;
    int entries_ = 0;
    int longGaps_ = 0;
};
