#pragma once
// What the handheld's shell tells a program about where things are (the Windows folder
// and the program's own file), and the shell's way of starting a program.

#include "ce/Types.h"

namespace ce {

using HMODULE = void*;
using HINSTANCE = void*;

inline constexpr int CSIDL_WINDOWS = 0x0024;

// Copies the device path of a special folder ("\Windows" for CSIDL_WINDOWS, no trailing
// backslash) into `path`, a buffer of MAX_PATH characters. With `create` the folder is
// made when missing. FALSE for another folder id.
BOOL SHGetSpecialFolderPath(void* owner, LPWSTR path, int folder, BOOL create);

// The full device path of the running program for a null `module` (other modules are
// not known: 0 with ERROR_INVALID_HANDLE), as it is installed on the handheld:
// $KIVO_PROGRAM_PATH when whoever started the process set it, else the install place
// of the Linux executable's name: "\Windows\kivowake.exe" for kivowake and
// "\Program Files\KIVO\NAME.exe" for any other. Returns the number of characters
// copied without the NUL; a path that does not fit is cut to size - 1 characters,
// returns `size` and sets ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR path, DWORD size);

inline constexpr ULONG SEE_MASK_NOCLOSEPROCESS = 0x00000040;
inline constexpr ULONG SEE_MASK_FLAG_NO_UI = 0x00000400;

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;

struct SHELLEXECUTEINFO {
    DWORD cbSize = sizeof(SHELLEXECUTEINFO);
    ULONG fMask = 0;
    HWND hwnd = nullptr;
    LPCWSTR lpVerb = nullptr;        // null or "open"
    LPCWSTR lpFile = nullptr;        // the program's device path
    LPCWSTR lpParameters = nullptr;  // its command line
    LPCWSTR lpDirectory = nullptr;
    int nShow = SW_SHOWNORMAL;       // passed on to the program as it starts
    HINSTANCE hInstApp = nullptr;    // above 32 on success, else the shell's error number
    HANDLE hProcess = nullptr;       // with SEE_MASK_NOCLOSEPROCESS: the started process, for the caller to close
};

// Starts the program `lpFile` with `lpParameters`, as the shell's "open" does. Another
// verb fails with ERROR_NO_ASSOCIATION. A failure is reported to the person at the
// handheld (on standard error) unless SEE_MASK_FLAG_NO_UI asks for silence; the log
// of started programs records it either way. Last errors as CreateProcessW.
BOOL ShellExecuteEx(SHELLEXECUTEINFO* info);

}  // namespace ce
