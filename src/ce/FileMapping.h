#pragma once
// Read-only memory-mapped views of the handheld's files: the pages of the file itself,
// never a copy, so a large file costs address space rather than memory.

#include <cstddef>

#include "ce/Files.h"

namespace ce {

inline constexpr DWORD PAGE_READONLY = 0x02;
inline constexpr DWORD FILE_MAP_READ = 0x0004;
inline constexpr DWORD ERROR_FILE_INVALID = 1006;

// Opens a file to be mapped; the same rules as CreateFileW (a file opened without
// sharing refuses every other opener, in every process, while it is mapped).
HANDLE CreateFileForMappingW(LPCWSTR path, DWORD desiredAccess, DWORD shareMode, DWORD creationDisposition,
                             DWORD attributes = FILE_ATTRIBUTE_NORMAL);
// A mapping of `file` (opened for reading). Only PAGE_READONLY and unnamed mappings are
// offered; a maximum size of 0 maps the whole file. An empty file cannot be mapped
// (ERROR_FILE_INVALID). Returns null on failure. The mapping keeps the file's contents
// reachable after the file handle is closed.
HANDLE CreateFileMappingW(HANDLE file, void* securityAttributes, DWORD protect, DWORD maximumSizeHigh,
                          DWORD maximumSizeLow, LPCWSTR name);
// A view of `bytes` from the offset (0: to the end of the mapping); FILE_MAP_READ only.
// The offset must be a multiple of 64 KB, as on the device. Null on failure.
const void* MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow, DWORD bytes);
BOOL UnmapViewOfFile(const void* view);

inline constexpr DWORD ERROR_NOT_LOCKED = 158;
// Takes the pages holding [address, address + bytes) of a view out of the process's
// working set; they are read from the file again when next touched. As on the device,
// for pages that were not locked it returns FALSE with ERROR_NOT_LOCKED after doing so.
// ERROR_INVALID_PARAMETER for a range outside every view.
BOOL VirtualUnlock(const void* address, std::size_t bytes);

}  // namespace ce
