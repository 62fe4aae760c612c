#pragma once
// Files of the handheld, addressed by device paths ("\My Documents\a.wav"):
// backslash-separated, UTF-16, case-insensitive per component, always from the root.

#include "ce/Types.h"

namespace ce {

// Access rights (dwDesiredAccess).
inline constexpr DWORD GENERIC_READ = 0x80000000;
inline constexpr DWORD GENERIC_WRITE = 0x40000000;

// Sharing granted to later openers of the same file (dwShareMode).
inline constexpr DWORD FILE_SHARE_READ = 0x00000001;
inline constexpr DWORD FILE_SHARE_WRITE = 0x00000002;

// Creation dispositions.
inline constexpr DWORD CREATE_NEW = 1;
inline constexpr DWORD CREATE_ALWAYS = 2;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD TRUNCATE_EXISTING = 5;

// File attributes.
inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;
inline constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x00000004;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// Seek origins.
inline constexpr DWORD FILE_BEGIN = 0;
inline constexpr DWORD FILE_CURRENT = 1;
inline constexpr DWORD FILE_END = 2;
inline constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
inline constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

// 100-nanosecond intervals since 1601-01-01 (UTC).
struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};

struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes = 0;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh = 0;
    DWORD nFileSizeLow = 0;
    DWORD dwOID = 0;
    WCHAR cFileName[MAX_PATH] = {};
};

// Opens or creates a file. A read-only file refuses GENERIC_WRITE (ERROR_ACCESS_DENIED);
// an open that conflicts with the access or sharing of another handle, in any process,
// fails with ERROR_SHARING_VIOLATION. Creating sets the archive attribute, and so does
// the first write through a handle. `attributes` is applied to a newly created file.
// Returns INVALID_HANDLE_VALUE on failure.
HANDLE CreateFileW(LPCWSTR path, DWORD desiredAccess, DWORD shareMode, DWORD creationDisposition,
                   DWORD attributes = FILE_ATTRIBUTE_NORMAL);

BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten);
// Returns the new position, or INVALID_SET_FILE_POINTER (ERROR_NEGATIVE_SEEK before the start).
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod);
// Cuts or extends the file at the current position.
BOOL SetEndOfFile(HANDLE file);
BOOL FlushFileBuffers(HANDLE file);
DWORD GetFileSize(HANDLE file, DWORD* sizeHigh);

// Fails with ERROR_SHARING_VIOLATION while any handle has the file open.
BOOL DeleteFileW(LPCWSTR path);
// Copies contents and attributes (the copy gets the archive attribute). With
// failIfExists an existing target gives ERROR_FILE_EXISTS.
BOOL CopyFileW(LPCWSTR existing, LPCWSTR target, BOOL failIfExists);
// Renames a file or directory; an existing target gives ERROR_ALREADY_EXISTS.
BOOL MoveFileW(LPCWSTR existing, LPCWSTR target);
// Atomically puts `replacement` in place of `replaced`: afterwards the path holds
// either the whole old or the whole new contents, whatever happens in between.
// `replaced` keeps its attributes (and gains archive); `replacement` is gone.
// Both must be closed by every handle; a read-only `replaced` is refused.
BOOL ReplaceFileW(LPCWSTR replaced, LPCWSTR replacement);

BOOL CreateDirectoryW(LPCWSTR path);
BOOL RemoveDirectoryW(LPCWSTR path);

// Lists the entries of one folder matching the last component of `pattern`
// ('*' and '?', case-insensitive), in the order the file system returns them.
HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data);
// What each entry of a search tells. FindExInfoNames is the simulated handheld's own: the
// name, and FILE_ATTRIBUTE_DIRECTORY for a folder, nothing else (attributes, sizes and
// times stay 0), at the cost of the listing alone rather than of asking every entry:
// for a caller that opens the files it finds anyway.
enum FINDEX_INFO_LEVELS { FindExInfoStandard, FindExInfoNames };
enum FINDEX_SEARCH_OPS { FindExSearchNameMatch };
HANDLE FindFirstFileExW(LPCWSTR pattern, FINDEX_INFO_LEVELS level, WIN32_FIND_DATAW* data,
                        FINDEX_SEARCH_OPS search = FindExSearchNameMatch, void* filter = nullptr,
                        DWORD flags = 0);
BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* data);
BOOL FindClose(HANDLE search);

DWORD GetFileAttributesW(LPCWSTR path);
// Only read-only, hidden, system, archive and normal can be set; normal alone clears them.
BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes);

}  // namespace ce
