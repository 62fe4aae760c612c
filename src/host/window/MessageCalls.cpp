// The window and message calls of the platform interface over the thread queues and
// the window table.

#include <sys/syscall.h>
#include <unistd.h>

#include "ce/Messages.h"
#include "ce/Sync.h"
#include "ce/Time.h"
#include "host/window/MessageWindow.h"
#include "host/window/ThreadQueues.h"
#include "host/window/WindowTable.h"

namespace ce {

namespace {

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

HWND const kThreadMessagesOnly = reinterpret_cast<HWND>(-1);

// A window filter must name a live window, unless it is null or "thread messages only".
bool valid_filter(HWND window) {
    return window == nullptr || window == kThreadMessagesOnly || host::WindowTable::instance().find(window) != nullptr;
}

}  // namespace

DWORD GetCurrentThreadId() {
    thread_local const auto id = static_cast<DWORD>(syscall(SYS_gettid));
    return id;
}

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }

HWND CreateWindowExW(DWORD /*exStyle*/, LPCWSTR /*className*/, LPCWSTR /*windowName*/, DWORD /*style*/, int /*x*/,
                     int /*y*/, int /*width*/, int /*height*/, HWND parent, void* /*menu*/, void* /*instance*/,
                     void* /*param*/) {
    if (parent != HWND_MESSAGE) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    const auto& queue = host::ThreadQueues::instance().current();
    return host::WindowTable::instance().add(std::make_shared<host::MessageWindow>(GetCurrentThreadId(), queue));
}

BOOL DestroyWindow(HWND window) {
    return host::WindowTable::instance().remove(window) ? TRUE : fail(ERROR_INVALID_WINDOW_HANDLE);
}

BOOL IsWindow(HWND window) { return host::WindowTable::instance().find(window) != nullptr ? TRUE : FALSE; }

DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) {
    const auto target = host::WindowTable::instance().find(window);
    if (target == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (processId != nullptr) *processId = target->process_id();
    return target->thread_id();
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto target = host::WindowTable::instance().find(window);
    if (target == nullptr) return fail(ERROR_INVALID_WINDOW_HANDLE);
    return target->deliver(MSG{window, message, wParam, lParam, GetTickCount()}) ? TRUE
                                                                                 : fail(ERROR_INVALID_WINDOW_HANDLE);
}

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto queue = host::ThreadQueues::instance().find(threadId);
    if (queue == nullptr) return fail(ERROR_INVALID_THREAD_ID);
    queue->post(MSG{nullptr, message, wParam, lParam, GetTickCount()});
    return TRUE;
}

void PostQuitMessage(int exitCode) { host::ThreadQueues::instance().current()->post_quit(exitCode); }

BOOL GetMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax) {
    if (message == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (!valid_filter(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    host::ThreadQueues::instance().current()->get(message, host::MessageFilter{window, filterMin, filterMax});
    return message->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeMessage) {
    if (message == nullptr) return fail(ERROR_INVALID_PARAMETER);
    if (!valid_filter(window)) return fail(ERROR_INVALID_WINDOW_HANDLE);
    const host::MessageFilter filter{window, filterMin, filterMax};
    return host::ThreadQueues::instance().current()->peek(message, filter, (removeMessage & PM_REMOVE) != 0) ? TRUE
                                                                                                           : FALSE;
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* /*handles*/, BOOL /*waitAll*/, DWORD milliseconds,
                                DWORD /*wakeMask*/) {
    if (count != 0) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return WAIT_FAILED;
    }
    return host::ThreadQueues::instance().current()->wait(milliseconds) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

}  // namespace ce
