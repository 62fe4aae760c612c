#include "irdriver/PassLoop.h"

#include "ce/Input.h"
#include "ce/Thread.h"

PassLoop::PassLoop(ce::HANDLE thread, int savedPriority, Priorities priorities)
    : thread_(thread), savedPriority_(savedPriority), priorities_(priorities) {}

bool PassLoop::IsHoldMode(std::uint16_t repeatCount, int holdKey) {
    return holdKey != 0 && (repeatCount == 0 || repeatCount == 0xFFFF);
}

unsigned PassLoop::CountedPasses(std::uint16_t repeatCount) {
    if (repeatCount == 0) return 3;
    if (repeatCount == 0xFFFF) return 1;
    return repeatCount;
}

bool PassLoop::KeyDown(int virtualKey) { return (ce::GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

void PassLoop::Raise(int priority) const { ce::CeSetThreadPriority(thread_, priority); }

void PassLoop::Restore() const { ce::CeSetThreadPriority(thread_, savedPriority_); }
