#pragma once
// Every window handle of the process and what it resolves to. Handles are numbers that
// carry the process id in their high half, so handles of different processes never
// collide when windows are later shared across the handheld.

#include <memory>
#include <mutex>
#include <unordered_map>

#include "host/window/WindowTarget.h"

namespace host {

class WindowTable {
public:
    static WindowTable& instance();

    ce::HWND add(std::shared_ptr<WindowTarget> target);
    std::shared_ptr<WindowTarget> find(ce::HWND window);
    bool remove(ce::HWND window);
    // Drops the windows of a thread that has ended.
    void remove_thread(ce::DWORD thread_id);

private:
    std::mutex lock_;
    std::unordered_map<ce::HWND, std::shared_ptr<WindowTarget>> windows_;
    std::uint32_t next_ = 0;
};

}  // namespace host
