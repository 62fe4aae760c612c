#pragma once
// Every window handle of the process and what it resolves to. Handles are numbers that
// carry the process id in their high half, so handles of different processes never
// collide when windows are later shared across the handheld.

#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include "host/window/WindowTarget.h"

namespace host {

class WindowTable {
public:
    static WindowTable& instance();

    // A top-level window is also in the handheld's window registry, which its owner
    // keeps up to date.
    ce::HWND add(std::shared_ptr<WindowTarget> target, bool top_level = false);
    std::shared_ptr<WindowTarget> find(ce::HWND window);
    // False when there is no such window; `top_level` (may be null) says what it was.
    bool remove(ce::HWND window, bool* top_level = nullptr);
    // Drops the windows of a thread that has ended; whether any of them was top-level.
    bool remove_thread(ce::DWORD thread_id);

private:
    std::mutex lock_;
    std::unordered_map<ce::HWND, std::shared_ptr<WindowTarget>> windows_;
    std::unordered_set<ce::HWND> top_level_;
    std::uint32_t next_ = 0;
};

}  // namespace host
