// Listing the handheld's folders.

#include "ce/Files.h"
#include "host/Device.h"
#include "host/fs/FileSearch.h"

namespace ce {

HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data) {
    return FindFirstFileExW(pattern, FindExInfoStandard, data);
}

HANDLE FindFirstFileExW(LPCWSTR pattern, FINDEX_INFO_LEVELS level, WIN32_FIND_DATAW* data, FINDEX_SEARCH_OPS op,
                        void* filter, DWORD flags) {
    const auto path = host::DevicePath::parse(pattern, host::DevicePath::Wildcards::AllowedInName);
    DWORD error = path.valid() ? ERROR_SUCCESS : path.error();
    const bool known = (level == FindExInfoStandard || level == FindExInfoNames) && op == FindExSearchNameMatch;
    if (data == nullptr || !known || filter != nullptr || flags != 0) error = ERROR_INVALID_PARAMETER;
    if (error == ERROR_SUCCESS && !host::Device::current().ready()) error = ERROR_PATH_NOT_FOUND;
    std::unique_ptr<host::FileSearch> search;
    if (error == ERROR_SUCCESS) search = host::FileSearch::open(path, level == FindExInfoNames, &error);
    if (search && search->next(data) != ERROR_SUCCESS) error = ERROR_FILE_NOT_FOUND;
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    return host::register_handle(search.release());
}

BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* data) {
    auto* found = host::handle_as<host::FileSearch>(search);
    if (found == nullptr) return FALSE;
    if (data == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (const DWORD error = found->next(data); error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

BOOL FindClose(HANDLE search) {
    if (host::handle_as<host::FileSearch>(search) == nullptr) return FALSE;
    return CloseHandle(search);
}

}  // namespace ce
