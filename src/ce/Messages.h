#pragma once
// Window handles and messages. Every thread that asks for messages gets a queue; a
// window belongs to the thread that made it, and a message posted or sent to it waits
// in that thread's queue, whichever process of the handheld it came from. A sent
// message is one the sender waits on until the receiving thread has handled it.

#include <cstdint>

#include "ce/Types.h"

namespace ce {

using UINT_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// A window handle (ce/Types.h) is a number resolved through the handheld's window
// table, never dereferenced, so a stale handle fails cleanly instead of reaching freed memory.
inline HWND const HWND_MESSAGE = reinterpret_cast<HWND>(~std::uintptr_t{2});  // parent of message-only windows

struct MSG {
    HWND hwnd = nullptr;  // null for a thread message
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;       // tick count when posted
};

inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT WM_APP = 0x8000;

inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

inline constexpr DWORD QS_ALLINPUT = 0x04FF;
inline constexpr DWORD QS_POSTMESSAGE = 0x0008;

inline constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
// PostMessage: the window has too many posted messages waiting.
inline constexpr DWORD ERROR_NOT_ENOUGH_QUOTA = 1816;
inline constexpr DWORD ERROR_INVALID_THREAD_ID = 1444;

DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();

// Makes a message-only window (parent HWND_MESSAGE), private to the process, or a
// top-level window (no parent) that every program of the handheld can find by its
// title and class (ce/Windows.h). The window belongs to the calling thread and goes
// when the thread ends or on DestroyWindow. Null with ERROR_NOT_SUPPORTED for any other
// parent: child windows are the framework's own.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, void* menu, void* instance, void* param);
// Only a window of the calling process; FALSE with ERROR_ACCESS_DENIED for another's.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
// The thread that owns the window (0 for a stale handle); *processId gets its process.
DWORD GetWindowThreadProcessId(HWND window, DWORD* processId);

// Queues the message for the window and returns at once; messages from one thread to
// one window arrive in the order they were posted; one a window coalesces (the
// framework's CWnd::CoalescePosted) is not queued again while its like waits. FALSE with
// ERROR_INVALID_WINDOW_HANDLE for a handle that names no window (or one whose process
// has ended), with ERROR_NOT_ENOUGH_QUOTA when too many posted messages wait for it.
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Queues the message as PostMessageW does and waits until the owning thread has
// handled it: the answer is what that thread passes to ReplyMessage, or 0 when it comes
// back to its queue without replying (or ends, or its process ends). A thread cannot
// send to its own windows, which have no window procedure here: 0 with
// ERROR_NOT_SUPPORTED. 0 with ERROR_INVALID_WINDOW_HANDLE for a handle that names no
// window.
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Answers the sent message the calling thread took last; FALSE when it has none to answer.
BOOL ReplyMessage(LRESULT result);
// Whether the message the calling thread took last was sent and is not yet answered.
BOOL InSendMessage();
// Queues a thread message (hwnd null). FALSE with ERROR_INVALID_THREAD_ID when the thread
// has no queue (it never asked for messages, or it has ended).
BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
// Posts WM_QUIT to the calling thread, retrieved once the messages before it are.
void PostQuitMessage(int exitCode);

// Waits for a message matching the filters: window null = any of the thread's messages,
// (HWND)-1 = thread messages only, else that window's; min and max 0 = every number.
// Returns 0 for WM_QUIT, -1 with the last error set for a bad window filter, else nonzero.
BOOL GetMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax);
// As GetMessageW without waiting; FALSE when nothing matches. PM_REMOVE takes it off the queue.
BOOL PeekMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeMessage);
// With no handles (the only form offered): WAIT_OBJECT_0 as soon as the calling thread's
// queue holds a message, WAIT_TIMEOUT after `milliseconds`.
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask);

}  // namespace ce
