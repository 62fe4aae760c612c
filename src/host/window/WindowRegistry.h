#pragma once
// The handheld's top-level windows as rows of device.db: handle, class, title, owning
// process and thread, and which one is in the foreground. Every program of the handheld
// reads the same rows, so a window made by one is found by the others. A window whose
// process has ended is dropped when it is met, however the process ended.

#include <optional>
#include <string>
#include <vector>

#include "ce/Messages.h"
#include "host/Database.h"
#include "host/process/ProcessIdentity.h"

namespace host {

struct WindowRecord {
    ce::HWND handle = nullptr;
    std::u16string class_name;
    std::u16string title;
    ProcessIdentity owner;
    ce::DWORD thread = 0;
    bool topmost = false;  // in front of every window that is not
};

class WindowRegistry {
public:
    explicit WindowRegistry(Database& database) : db_(database) {}

    bool add(const WindowRecord& window);
    bool remove(ce::HWND handle);
    // The windows the thread made, when it ends.
    bool remove_thread(const ProcessIdentity& owner, ce::DWORD thread);
    bool set_title(ce::HWND handle, std::u16string_view title);
    bool set_topmost(ce::HWND handle, bool topmost);

    // The window, while its process runs.
    std::optional<WindowRecord> find(ce::HWND handle);
    // Every window of a running process: the foreground window first, then the top-most
    // ones, then the newest (a window brought to the foreground counts as new from then on).
    std::vector<WindowRecord> windows();

    // When the foreground window goes, the newest window left comes forward, as on the
    // handheld; nothing when no window was ever brought forward or none is left. While a
    // top-most window is there, a window that is not is never the foreground: the newest
    // top-most one is, and the window brought forward behind it comes back when it goes.
    std::optional<ce::HWND> foreground();
    bool set_foreground(ce::HWND handle);

private:
    std::vector<WindowRecord> query(const char* sql, ce::HWND handle);
    bool forget_if_dead(const WindowRecord& window);
    // Top-most windows first, each kind newest first.
    std::vector<WindowRecord> in_front_first();

    Database& db_;
};

}  // namespace host
