// The shell calls of the platform interface: special folders, the program's own path
// and starting a program.

#include "ce/Shell.h"

#include <algorithm>
#include <cstdint>
#include <iostream>

#include "ce/Files.h"
#include "ce/Process.h"
#include "ce/Text.h"
#include "host/HandleTable.h"
#include "host/process/ProgramLauncher.h"
#include "host/shell/ProgramPath.h"

namespace ce {

namespace {

constexpr const char16_t* kWindowsFolder = u"\\Windows";

// The shell's error numbers in hInstApp: anything above 32 means it started.
constexpr std::uintptr_t kStarted = 42;
constexpr std::uintptr_t kFileNotFound = 2;
constexpr std::uintptr_t kPathNotFound = 3;
constexpr std::uintptr_t kAccessDenied = 5;
constexpr std::uintptr_t kNoAssociation = 31;
constexpr std::uintptr_t kBadFormat = 11;

std::uintptr_t shell_error_of(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            return kFileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return kPathNotFound;
        case ERROR_ACCESS_DENIED:
            return kAccessDenied;
        case ERROR_NO_ASSOCIATION:
            return kNoAssociation;
        default:
            return kBadFormat;
    }
}

bool is_open_verb(LPCWSTR verb) {
    if (verb == nullptr || verb[0] == u'\0') return true;
    const std::u16string_view text(verb);
    return text.size() == 4 && (text[0] | 0x20) == u'o' && (text[1] | 0x20) == u'p' && (text[2] | 0x20) == u'e' &&
           (text[3] | 0x20) == u'n';
}

BOOL shell_failure(SHELLEXECUTEINFO* info, DWORD error) {
    info->hInstApp = reinterpret_cast<HINSTANCE>(shell_error_of(error));
    // The shell's message box, for a person at the handheld.
    if ((info->fMask & SEE_MASK_FLAG_NO_UI) == 0)
        std::cerr << "Cannot start " << (info->lpFile != nullptr ? utf8_from_utf16(info->lpFile) : std::string("?"))
                  << ": error " << error << std::endl;
    SetLastError(error);
    return FALSE;
}

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

BOOL ShellExecuteEx(SHELLEXECUTEINFO* info) {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->hProcess = nullptr;
    if (info->lpFile == nullptr) return shell_failure(info, ERROR_FILE_NOT_FOUND);
    if (!is_open_verb(info->lpVerb)) {
        host::ProgramLauncher::log_failure(info->lpFile, u"", ERROR_NO_ASSOCIATION);
        return shell_failure(info, ERROR_NO_ASSOCIATION);
    }
    auto started = host::ProgramLauncher::start(info->lpFile, info->lpParameters == nullptr ? u"" : info->lpParameters,
                                                info->nShow);
    if (!started.ok()) return shell_failure(info, started.error);
    info->hInstApp = reinterpret_cast<HINSTANCE>(kStarted);
    if ((info->fMask & SEE_MASK_NOCLOSEPROCESS) != 0) info->hProcess = host::register_handle(started.process.release());
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

}  // namespace ce
