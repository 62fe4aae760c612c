#pragma once
// The passes of one Send, shared by every family: pass 1 sends the whole stored signal
// from nextIndex, every later pass the repeated frame from repeatStart. Counted mode
// runs a fixed number of passes at the raised priority; hold mode keeps going while a key
// is down, each pass raised but its last entry (normally the long gap) at the thread's
// own priority, so the rest of the system gets to run between frames.

#include <cstdint>

#include "ce/Types.h"

class PassLoop {
public:
    struct Priorities {
        int hold;
        int counted;
    };

    PassLoop(ce::HANDLE thread, int savedPriority, Priorities priorities);

    static bool IsHoldMode(std::uint16_t repeatCount, int holdKey);
    // 65535 means one pass, 0 three.
    static unsigned CountedPasses(std::uint16_t repeatCount);

    // emit(entry) is called for every entry of every pass, in order.
    template <class Emit>
    void Run(const std::int32_t* entries, std::uint16_t count, std::uint16_t& nextIndex, std::uint16_t repeatStart,
             std::uint16_t repeatCount, int holdKey, Emit&& emit) {
        if (IsHoldMode(repeatCount, holdKey)) {
            const unsigned minimum = repeatCount == 0 ? 3 : 1;
            for (unsigned passes = 0; passes < minimum || KeyDown(holdKey); ++passes) {
                if (nextIndex < count) Raise(priorities_.hold);
                for (std::uint16_t i = nextIndex; i < count; ++i) {
                    if (i == count - 1) Restore();
                    emit(entries[i]);
                }
                nextIndex = repeatStart;
            }
            return;
        }
        const unsigned passes = CountedPasses(repeatCount);
        Raise(priorities_.counted);
        for (unsigned pass = 0; pass < passes; ++pass) {
            for (std::uint16_t i = nextIndex; i < count; ++i) emit(entries[i]);
            nextIndex = repeatStart;
        }
        Restore();
    }

private:
    static bool KeyDown(int virtualKey);
    void Raise(int priority) const;
    void Restore() const;

    ce::HANDLE thread_;
    int savedPriority_;
    Priorities priorities_;
};
