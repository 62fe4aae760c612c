#pragma once
// What the handheld's shell tells a program about where things are: the Windows folder
// and the program's own file.

#include "ce/Types.h"

namespace ce {

using HMODULE = void*;

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

}  // namespace ce
