#pragma once
// Change notification for a folder of the handheld: the handle is signalled (for
// WaitForSingleObject) once something the filter names has changed in the folder since
// it was made or last re-armed with FindNextChangeNotification, which lets go of the
// changes seen so far. A program that shows what a folder holds re-reads it when the
// handle is signalled instead of reading it again and again.

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

}  // namespace ce
