#include "host/window/WindowTable.h"

#include <unistd.h>

namespace host {

WindowTable& WindowTable::instance() {
    static auto* table = new WindowTable;  // outlives the thread_local queue owners
    return *table;
}

ce::HWND WindowTable::add(std::shared_ptr<WindowTarget> target, bool top_level) {
    std::lock_guard guard(lock_);
    // Numbers start at 0x10 so that no handle looks like a small device or special value.
    const std::uint64_t number =
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(getpid())) << 32) | (0x10u + 2u * next_++);
    auto* window = reinterpret_cast<ce::HWND>(static_cast<std::uintptr_t>(number));
    windows_[window] = std::move(target);
    if (top_level) top_level_.insert(window);
    return window;
}

std::shared_ptr<WindowTarget> WindowTable::find(ce::HWND window) {
    std::lock_guard guard(lock_);
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second;
}

bool WindowTable::remove(ce::HWND window, bool* top_level) {
    std::lock_guard guard(lock_);
    const bool was_top_level = top_level_.erase(window) != 0;
    if (top_level != nullptr) *top_level = was_top_level;
    return windows_.erase(window) != 0;
}

bool WindowTable::remove_thread(ce::DWORD thread_id) {
    std::lock_guard guard(lock_);
    bool had_top_level = false;
    std::erase_if(windows_, [&](const auto& entry) {
        if (entry.second->thread_id() != thread_id) return false;
        had_top_level |= top_level_.erase(entry.first) != 0;
        return true;
    });
    return had_top_level;
}

}  // namespace host
