// The shell calls of the platform interface: special folders and the program's own path.

#include "ce/Shell.h"

#include <algorithm>

#include "ce/Files.h"
#include "host/shell/ProgramPath.h"

namespace ce {

namespace {

constexpr const char16_t* kWindowsFolder = u"\\Windows";

}  // namespace

BOOL SHGetSpecialFolderPath(void* /*owner*/, LPWSTR path, int folder, BOOL create) {
    if (path == nullptr || folder != CSIDL_WINDOWS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // An existing folder makes CreateDirectoryW fail, which is what we want to ignore.
    if (create) CreateDirectoryW(kWindowsFolder);
    const std::u16string_view text(kWindowsFolder);
    std::copy(text.begin(), text.end(), path);
    path[text.size()] = u'\0';
    return TRUE;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR path, DWORD size) {
    if (module != nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (path == nullptr || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const std::u16string program = host::ProgramPath::current();
    const std::size_t copied = std::min<std::size_t>(program.size(), size - 1);
    std::copy_n(program.begin(), copied, path);
    path[copied] = u'\0';
    if (copied < program.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(copied);
}

}  // namespace ce
