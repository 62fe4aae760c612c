// Folder change notification of the platform interface over FolderWatch.

#include <sys/inotify.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

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

BOOL refuse(DWORD error) {
    SetLastError(error);
    return FALSE;
}

constexpr std::size_t kNameOffset = offsetof(FILE_NOTIFY_INFORMATION, FileName);

// A record with its name, rounded up so that the next one starts at a DWORD boundary.
std::uint64_t record_bytes(const host::FolderWatch::Change& change) {
    const std::uint64_t bytes = kNameOffset + change.name.size() * sizeof(WCHAR);
    return (bytes + sizeof(DWORD) - 1) / sizeof(DWORD) * sizeof(DWORD);
}

// The record of `change` at `out` (the caller's buffer need not be aligned).
void put_record(unsigned char* out, const host::FolderWatch::Change& change, DWORD next) {
    const DWORD name_bytes = static_cast<DWORD>(change.name.size() * sizeof(WCHAR));
    std::memset(out, 0, record_bytes(change));
    std::memcpy(out + offsetof(FILE_NOTIFY_INFORMATION, NextEntryOffset), &next, sizeof next);
    std::memcpy(out + offsetof(FILE_NOTIFY_INFORMATION, Action), &change.action, sizeof change.action);
    std::memcpy(out + offsetof(FILE_NOTIFY_INFORMATION, FileNameLength), &name_bytes, sizeof name_bytes);
    std::memcpy(out + kNameOffset, change.name.data(), name_bytes);
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

BOOL CeGetFileNotificationInfo(HANDLE change, DWORD flags, void* buffer, DWORD bufferLength, DWORD* bytesReturned,
                               DWORD* bytesAvailable) {
    if (bytesReturned != nullptr) *bytesReturned = 0;
    if (bytesAvailable != nullptr) *bytesAvailable = 0;
    auto* watch = host::handle_as<host::FolderWatch>(change);
    if (watch == nullptr) return FALSE;
    if (flags != 0 || (buffer == nullptr && bufferLength > 0)) return refuse(ERROR_INVALID_PARAMETER);
    if (watch->take_lost()) return refuse(ERROR_NOTIFY_ENUM_DIR);
    auto* out = static_cast<unsigned char*>(buffer);
    std::uint64_t used = 0;
    std::uint64_t last = 0;  // where the record before the next one starts
    bool any = false;
    while (const auto next = watch->peek()) {
        const std::uint64_t bytes = record_bytes(*next);
        if (used + bytes > bufferLength) break;
        // The record before learns how far on this one starts.
        if (any) {
            const auto step = static_cast<DWORD>(used - last);
            std::memcpy(out + last + offsetof(FILE_NOTIFY_INFORMATION, NextEntryOffset), &step, sizeof step);
        }
        put_record(out + used, *next, 0);
        watch->pop();
        last = used;
        used += bytes;
        any = true;
    }
    const std::uint64_t waiting = watch->queued_bytes(record_bytes);
    if (bytesReturned != nullptr) *bytesReturned = static_cast<DWORD>(used);
    if (bytesAvailable != nullptr) *bytesAvailable = static_cast<DWORD>(std::min<std::uint64_t>(waiting, 0xFFFFFFFFu));
    if (!any && waiting > 0 && bufferLength > 0) return refuse(ERROR_INSUFFICIENT_BUFFER);
    return TRUE;
}

BOOL FindCloseChangeNotification(HANDLE change) {
    if (host::handle_as<host::FolderWatch>(change) == nullptr) return FALSE;
    return CloseHandle(change);
}

}  // namespace ce
