#pragma once
// Programs of the handheld: starting one by its device path, waiting for it, ending it.
// A started program runs as its own process of the same handheld; it finds its device
// path through GetModuleFileNameW and its command line through GetCommandLineW.

#include "ce/Types.h"

namespace ce {

struct PROCESS_INFORMATION {
    HANDLE hProcess = nullptr;
    HANDLE hThread = nullptr;  // the program's main thread: it ends with the process
    DWORD dwProcessId = 0;
    DWORD dwThreadId = 0;
};

inline constexpr DWORD STILL_ACTIVE = 259;
inline constexpr DWORD PROCESS_TERMINATE = 0x0001;
inline constexpr DWORD SYNCHRONIZE = 0x00100000;
inline constexpr DWORD PROCESS_ALL_ACCESS = 0x001F0FFF;

inline constexpr DWORD ERROR_BAD_EXE_FORMAT = 193;
inline constexpr DWORD ERROR_NO_ASSOCIATION = 1155;

// Starts the program file at the device path `imageName` with `commandLine` (may be
// null) as its command line. Only the image name, the command line and the process
// information are used; the other arguments are accepted for the callers' sake.
// FALSE with ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND for a missing file,
// ERROR_ACCESS_DENIED for a folder, ERROR_BAD_EXE_FORMAT for a file that is no program.
// On success the caller closes both handles of `processInformation` (may be null).
BOOL CreateProcessW(LPCWSTR imageName, LPCWSTR commandLine, void* processAttributes, void* threadAttributes,
                    BOOL inheritHandles, DWORD creationFlags, void* environment, LPCWSTR currentDirectory,
                    void* startupInfo, PROCESS_INFORMATION* processInformation);

// The command line the program was started with (without its own name); "" when none.
LPCWSTR GetCommandLineW();

// A handle to a running process of the handheld; null (ERROR_INVALID_PARAMETER) when
// there is none with that id. The access rights are not checked.
HANDLE OpenProcess(DWORD access, BOOL inheritHandle, DWORD processId);
// Ends the process at once and returns when it has gone. Its exit code, as this
// handheld's processes report it, is `exitCode`. FALSE (ERROR_ACCESS_DENIED) when it had
// already ended.
BOOL TerminateProcess(HANDLE process, UINT exitCode);
// The id of the process behind the handle; 0 (ERROR_INVALID_HANDLE) for another handle.
DWORD GetProcessId(HANDLE process);
// STILL_ACTIVE while the process runs, then its exit code. The exit code of a process
// this one did not start is not known: FALSE with ERROR_NOT_SUPPORTED once it has ended.
BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode);
// The device path of the program a process runs (what GetModuleFileNameW answers inside
// it). `size` holds the buffer's length in characters and gets the path's length.
// FALSE with ERROR_INSUFFICIENT_BUFFER when it does not fit, ERROR_INVALID_HANDLE when
// the process has ended.
BOOL QueryFullProcessImageNameW(HANDLE process, DWORD flags, LPWSTR name, DWORD* size);

}  // namespace ce
