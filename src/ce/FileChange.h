#pragma once
// Change notification for a folder of the handheld: the handle is signalled (for
// WaitForSingleObject) once something the filter names has changed in the folder since
// it was made or last re-armed with FindNextChangeNotification, which lets go of the
// changes seen so far. A program that shows what a folder holds re-reads it when the
// handle is signalled instead of reading it again and again; CeGetFileNotificationInfo
// names what changed, so that it reads again only those entries.

#include "ce/Types.h"

namespace ce {

inline constexpr DWORD FILE_NOTIFY_CHANGE_FILE_NAME = 0x00000001;  // made, removed, renamed
inline constexpr DWORD FILE_NOTIFY_CHANGE_DIR_NAME = 0x00000002;
inline constexpr DWORD FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x00000004;
inline constexpr DWORD FILE_NOTIFY_CHANGE_SIZE = 0x00000008;
inline constexpr DWORD FILE_NOTIFY_CHANGE_LAST_WRITE = 0x00000010;  // written

// INVALID_HANDLE_VALUE with ERROR_PATH_NOT_FOUND for a folder that is not there,
// ERROR_INVALID_PARAMETER for an empty filter or one with unknown bits, and
// ERROR_NOT_SUPPORTED when asked to watch the subfolders too, or for the attributes alone
// (the handheld keeps attributes apart from the files: their changes are not reported).
HANDLE FindFirstChangeNotificationW(LPCWSTR path, BOOL watchSubtree, DWORD filter);
BOOL FindNextChangeNotification(HANDLE change);
BOOL FindCloseChangeNotification(HANDLE change);

inline constexpr DWORD FILE_ACTION_ADDED = 1;
inline constexpr DWORD FILE_ACTION_REMOVED = 2;
inline constexpr DWORD FILE_ACTION_MODIFIED = 3;
inline constexpr DWORD FILE_ACTION_RENAMED_OLD_NAME = 4;
inline constexpr DWORD FILE_ACTION_RENAMED_NEW_NAME = 5;

// The watch could not follow every change (too many at once, or the folder itself was
// removed or moved): whoever shows the folder reads it all again.
inline constexpr DWORD ERROR_NOTIFY_ENUM_DIR = 1022;

// One change: records follow each other in the buffer, NextEntryOffset bytes apart (0
// for the last), each at a DWORD boundary; the name is the entry's name in the folder,
// FileNameLength bytes, without a terminator.
struct FILE_NOTIFY_INFORMATION {
    DWORD NextEntryOffset;
    DWORD Action;
    DWORD FileNameLength;
    WCHAR FileName[1];
};

// Takes the changes the handle holds, oldest first, as many whole records as fit in
// `buffer` (`*bytesReturned` bytes); those that did not fit stay for the next call, and
// `*bytesAvailable` says how many bytes of records are still waiting. Once every change
// is taken the handle is no longer signalled. FALSE with ERROR_NOTIFY_ENUM_DIR when
// changes were lost (their records are dropped: the folder is to be read again),
// ERROR_INSUFFICIENT_BUFFER when not even the first record fits, ERROR_INVALID_HANDLE
// for a handle that is not a change notification. `flags` must be 0.
BOOL CeGetFileNotificationInfo(HANDLE change, DWORD flags, void* buffer, DWORD bufferLength, DWORD* bytesReturned,
                               DWORD* bytesAvailable);

}  // namespace ce
