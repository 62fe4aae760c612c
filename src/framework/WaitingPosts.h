#pragma once
// The posted messages of one window that wait in Qt's event queue. At most kMost: a
// flood from another process must not hold the window's input and answers back without
// end. A message the window coalesces waits once per wParam and lParam: one more of the
// same, while it waits, asks for nothing the first does not already.

#include <mutex>
#include <set>
#include <tuple>

#include "ce/Messages.h"

namespace framework {

class WaitingPosts {
public:
    static constexpr int kMost = 1000;
    enum class Admitted { yes, coalesced, full };

    void coalesce(ce::UINT message);
    // Whether `message` may join the queue, counted as waiting when it may.
    Admitted admit(const ce::MSG& message);
    // An admitted message left the queue: taken by the window, or discarded.
    void left(const ce::MSG& message);

private:
    using Key = std::tuple<ce::UINT, ce::WPARAM, ce::LPARAM>;

    std::mutex lock_;
    int waiting_ = 0;
    std::set<ce::UINT> coalesced_;
    std::set<Key> waiting_coalesced_;
};

}  // namespace framework
