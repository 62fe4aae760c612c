#pragma once
// The receiver's output as a driver samples it: one bit of a register, high while no
// light arrives and low during each pulse of the remote's carrier. Every wait is a
// loop of register reads (and, where bounded, of the high-resolution counter).

#include <cstdint>

#include "ce/Memory.h"
#include "irdriver/learn/LearnDeadline.h"

class ReceiveLine {
public:
    ReceiveLine(const ce::RegisterPage& page, ce::DWORD offset, std::uint32_t bit)
        : page_(page), offset_(offset), bit_(bit) {}

    bool High() const { return (page_.read32(offset_) & bit_) != 0; }

    // Until the line goes low; false once the deadline has passed.
    bool WaitLow(const LearnDeadline& deadline) const {
        while (High())
            if (deadline.Passed()) return false;
        return true;
    }
    bool WaitHigh(const LearnDeadline& deadline) const {
        while (!High())
            if (deadline.Passed()) return false;
        return true;
    }
    void WaitHigh() const {
        while (!High()) {
        }
    }
    // Until the line goes low; false when silent() says it stayed high too long.
    template <class Silent>
    bool WaitLowUnless(Silent&& silent) const {
        while (High())
            if (silent()) return false;
        return true;
    }

private:
    ce::RegisterPage page_;
    ce::DWORD offset_;
    std::uint32_t bit_;
};
