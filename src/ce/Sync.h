#pragma once
// Named mutexes shared by every process of the handheld.

#include "ce/Types.h"

namespace ce {

inline constexpr DWORD WAIT_OBJECT_0 = 0x00000000;
inline constexpr DWORD WAIT_ABANDONED = 0x00000080;
inline constexpr DWORD WAIT_TIMEOUT = 0x00000102;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

// Creates the mutex, or opens it when a handle to it is open anywhere on the handheld;
// in that case GetLastError() is ERROR_ALREADY_EXISTS afterwards (else ERROR_SUCCESS).
// The mutex is owned by a thread and may be taken again by its owner (counted).
// A mutex whose owner ends without releasing it is abandoned: the next waiter gets it
// with WAIT_ABANDONED. A null name gives a mutex private to the process.
HANDLE CreateMutexW(void* securityAttributes, BOOL initialOwner, LPCWSTR name);
BOOL ReleaseMutex(HANDLE mutex);
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);

}  // namespace ce
