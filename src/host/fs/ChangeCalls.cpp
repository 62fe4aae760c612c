// Folder change notification of the platform interface over FolderWatch.

#include <sys/inotify.h>

#include "ce/FileChange.h"
#include "host/Device.h"
#include "host/fs/FolderWatch.h"
#include "host/fs/NamedPath.h"

namespace ce {

namespace {

constexpr DWORD kKnownFilters = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

std::uint32_t events_of(DWORD filter) {
    std::uint32_t events = 0;
    if ((filter & (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME)) != 0)
        events |= IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
    // A file written in place, or one replaced by a renamed copy as the record files are.
    if ((filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)) != 0)
        events |= IN_CLOSE_WRITE | IN_MODIFY | IN_MOVED_TO;
    return events;
}

HANDLE fail(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

}  // namespace

HANDLE FindFirstChangeNotificationW(LPCWSTR path, BOOL watchSubtree, DWORD filter) {
    if (path == nullptr || filter == 0 || (filter & ~kKnownFilters) != 0) return fail(ERROR_INVALID_PARAMETER);
    const std::uint32_t events = events_of(filter);
    if (watchSubtree != FALSE || events == 0) return fail(ERROR_NOT_SUPPORTED);
    if (!host::Device::current().ready()) return fail(ERROR_PATH_NOT_FOUND);
    const host::NamedPath folder(path);
    if (!folder.ok()) return fail(folder.error());
    if (!folder.exists() || !folder.is_directory()) return fail(ERROR_PATH_NOT_FOUND);
    DWORD error = ERROR_SUCCESS;
    auto watch = host::FolderWatch::open(folder.host(), events, &error);
    if (watch == nullptr) return fail(error);
    return host::register_handle(watch.release());
}

BOOL FindNextChangeNotification(HANDLE change) {
    auto* watch = host::handle_as<host::FolderWatch>(change);
    if (watch == nullptr) return FALSE;
    watch->rearm();
    return TRUE;
}

BOOL FindCloseChangeNotification(HANDLE change) {
    if (host::handle_as<host::FolderWatch>(change) == nullptr) return FALSE;
    return CloseHandle(change);
}

}  // namespace ce
