// The window and message calls of the platform interface over the thread queues, the
// process's window table, the handheld's window registry and the message sockets.

#include <sys/syscall.h>
#include <unistd.h>

#include <optional>

#include "ce/Messages.h"
#include "ce/Sync.h"
#include "ce/Time.h"
#include "ce/WindowProcedure.h"
#include "host/Device.h"
#include "host/process/ProcessTable.h"
#include "host/window/MessagePort.h"
#include "host/window/MessageWindow.h"
#include "host/window/ProcedureWindow.h"
#include "host/window/SentReply.h"
#include "host/window/ThreadQueues.h"
#include "host/window/WindowRegistry.h"
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

host::WindowRegistry registry() { return host::WindowRegistry(host::Device::current().database()); }

// A window of another process, as the registry knows it. Handles carry their process id
// in the high half, so one of this process (or a made-up number) is not looked for there.
std::optional<host::WindowRecord> other_window(HWND window) {
    const auto owner = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window)) >> 32;
    if (owner == 0 || owner == static_cast<std::uint64_t>(getpid())) return std::nullopt;
    return registry().find(window);
}

std::u16string text_of(LPCWSTR text) { return text == nullptr ? std::u16string() : std::u16string(text); }

// A top-level window: in this process's table for its messages, and in the handheld's
// registry, with this process recorded under its program path, for other programs to find.
HWND create_top_level(std::shared_ptr<host::WindowTarget> target, LPCWSTR className, LPCWSTR windowName) {
    const HWND window = host::WindowTable::instance().add(std::move(target), true);
    host::MessagePort::instance().listen();
    host::ProcessTable(host::Device::current().database()).add_self();
    const host::WindowRecord record{window, text_of(className), text_of(windowName), host::ProcessIdentity::self(),
                                    GetCurrentThreadId()};
    if (!registry().add(record)) {
        host::WindowTable::instance().remove(window);
        SetLastError(ERROR_CANTWRITE);
        return nullptr;
    }
    return window;
}

}  // namespace

DWORD GetCurrentThreadId() {
    thread_local const auto id = static_cast<DWORD>(syscall(SYS_gettid));
    return id;
}

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }

HWND CreateWindowExW(DWORD /*exStyle*/, LPCWSTR className, LPCWSTR windowName, DWORD /*style*/, int /*x*/,
                     int /*y*/, int /*width*/, int /*height*/, HWND parent, void* /*menu*/, void* /*instance*/,
                     void* /*param*/) {
    if (parent == nullptr) {
        const auto& queue = host::ThreadQueues::instance().current();
        return create_top_level(std::make_shared<host::MessageWindow>(GetCurrentThreadId(), queue), className,
                                windowName);
    }
    if (parent != HWND_MESSAGE) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    const auto& queue = host::ThreadQueues::instance().current();
    return host::WindowTable::instance().add(std::make_shared<host::MessageWindow>(GetCurrentThreadId(), queue));
}

HWND CreateProcedureWindow(std::shared_ptr<WindowProcedure> procedure, LPCWSTR className, LPCWSTR windowName,
                           BOOL topLevel) {
    if (procedure == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto target = std::make_shared<host::ProcedureWindow>(GetCurrentThreadId(), std::move(procedure));
    if (topLevel) return create_top_level(std::move(target), className, windowName);
    return host::WindowTable::instance().add(std::move(target));
}

BOOL DestroyWindow(HWND window) {
    if (bool top_level = false; host::WindowTable::instance().remove(window, &top_level)) {
        if (top_level) registry().remove(window);
        return TRUE;
    }
    return fail(other_window(window) ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
}

BOOL IsWindow(HWND window) {
    return host::WindowTable::instance().find(window) != nullptr || other_window(window) ? TRUE : FALSE;
}

DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) {
    if (const auto target = host::WindowTable::instance().find(window); target != nullptr) {
        if (processId != nullptr) *processId = target->process_id();
        return target->thread_id();
    }
    const auto other = other_window(window);
    if (!other) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (processId != nullptr) *processId = static_cast<DWORD>(other->owner.pid);
    return other->thread;
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const MSG posted{window, message, wParam, lParam, GetTickCount()};
    if (const auto target = host::WindowTable::instance().find(window); target != nullptr) {
        switch (target->deliver(posted, nullptr)) {
        case WindowProcedure::Posted::queued:
        case WindowProcedure::Posted::coalesced: return TRUE;
        case WindowProcedure::Posted::full: return fail(ERROR_NOT_ENOUGH_QUOTA);
        case WindowProcedure::Posted::gone: break;
        }
        return fail(ERROR_INVALID_WINDOW_HANDLE);
    }
    const auto other = other_window(window);
    if (!other || !host::MessagePort::instance().post(other->owner.pid, posted))
        return fail(ERROR_INVALID_WINDOW_HANDLE);
    return TRUE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const MSG sent{window, message, wParam, lParam, GetTickCount()};
    if (const auto target = host::WindowTable::instance().find(window); target != nullptr) {
        if (target->thread_id() == GetCurrentThreadId()) {
            const auto answer = target->call(sent);
            return answer ? *answer : fail(ERROR_NOT_SUPPORTED);
        }
        auto reply = std::make_shared<host::LocalReply>();
        if (target->deliver(sent, reply) != WindowProcedure::Posted::queued) return fail(ERROR_INVALID_WINDOW_HANDLE);
        return reply->wait();
    }
    const auto other = other_window(window);
    if (!other) return fail(ERROR_INVALID_WINDOW_HANDLE);
    const auto answer = host::MessagePort::instance().send(other->owner, sent);
    if (!answer) return fail(ERROR_INVALID_WINDOW_HANDLE);
    return *answer;
}

BOOL ReplyMessage(LRESULT result) { return host::ThreadQueues::instance().current()->reply(result) ? TRUE : FALSE; }

BOOL InSendMessage() { return host::ThreadQueues::instance().current()->in_send() ? TRUE : FALSE; }

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
