// The calls of the platform interface about the handheld's top-level windows, over the
// window registry in device.db.

#include <algorithm>
#include <string_view>

#include "ce/Windows.h"
#include "host/Device.h"
#include "host/window/WindowRegistry.h"

namespace ce {

namespace {

host::WindowRegistry registry() { return host::WindowRegistry(host::Device::current().database()); }

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    for (const auto& window : registry().windows()) {
        if (windowName != nullptr && window.title != windowName) continue;
        if (className != nullptr && window.class_name != className) continue;
        return window.handle;
    }
    return nullptr;
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam) {
    if (callback == nullptr) return fail(ERROR_INVALID_PARAMETER);
    for (const auto& window : registry().windows())
        if (!callback(window.handle, lParam)) break;
    return TRUE;
}

int GetWindowTextW(HWND window, LPWSTR text, int maxCount) {
    if (text == nullptr || maxCount <= 0) return 0;
    const auto found = registry().find(window);
    if (!found) {
        text[0] = u'\0';
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const auto length = std::min<std::size_t>(found->title.size(), static_cast<std::size_t>(maxCount) - 1);
    std::copy_n(found->title.begin(), length, text);
    text[length] = u'\0';
    return static_cast<int>(length);
}

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
    if (!registry().find(window)) return fail(ERROR_INVALID_WINDOW_HANDLE);
    return registry().set_title(window, text == nullptr ? std::u16string_view() : std::u16string_view(text))
               ? TRUE
               : fail(ERROR_INVALID_WINDOW_HANDLE);
}

HWND GetForegroundWindow() { return registry().foreground().value_or(nullptr); }

BOOL SetWindowPos(HWND window, HWND insertAfter, int /*x*/, int /*y*/, int /*cx*/, int /*cy*/, UINT /*flags*/) {
    if (insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST) return fail(ERROR_NOT_SUPPORTED);
    // Another program's window keeps its place: only its owner orders it.
    const auto found = registry().find(window);
    if (!found || found->owner.pid != static_cast<pid_t>(GetCurrentProcessId())) return fail(ERROR_INVALID_WINDOW_HANDLE);
    return registry().set_topmost(window, insertAfter == HWND_TOPMOST) ? TRUE : fail(ERROR_CANTWRITE);
}

BOOL SetForegroundWindow(HWND window) {
    if (!registry().find(window)) return fail(ERROR_INVALID_WINDOW_HANDLE);
    return registry().set_foreground(window) ? TRUE : fail(ERROR_CANTWRITE);
}

}  // namespace ce
