// Memory mapping of the handheld's files over mmap.

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <string>

#include "ce/FileMapping.h"
#include "host/fs/FileHandle.h"
#include "host/fs/FileMapping.h"
#include "host/fs/HostError.h"

namespace host {

FileMapping::~FileMapping() { close(fd_); }

namespace {

constexpr std::uint64_t kViewAlignment = 64 * 1024;

// Live views by address, so that UnmapViewOfFile knows the length and refuses others.
std::mutex g_views_lock;
std::map<const void*, std::size_t>& views() {
    static auto* live = new std::map<const void*, std::size_t>;
    return *live;
}

}  // namespace

}  // namespace host

namespace ce {

namespace {

HANDLE fail_null(DWORD error) {
    SetLastError(error);
    return nullptr;
}

// The mapping's own open of the file: a duplicate would share the handle's open file and
// with it the sharing locks, which must go when the handle is closed, as they always did.
int reopen_for_mapping(int fd) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const int own = open(self.c_str(), O_RDONLY | O_CLOEXEC);
    return own >= 0 ? own : fcntl(fd, F_DUPFD_CLOEXEC, 0);
}

}  // namespace

HANDLE CreateFileForMappingW(LPCWSTR path, DWORD desiredAccess, DWORD shareMode, DWORD creationDisposition,
                             DWORD attributes) {
    return CreateFileW(path, desiredAccess, shareMode, creationDisposition, attributes);
}

HANDLE CreateFileMappingW(HANDLE file, void* /*securityAttributes*/, DWORD protect, DWORD maximumSizeHigh,
                          DWORD maximumSizeLow, LPCWSTR name) {
    auto* handle = host::handle_as<host::FileHandle>(file);
    if (handle == nullptr) return nullptr;
    if (protect != PAGE_READONLY || name != nullptr) return fail_null(ERROR_NOT_SUPPORTED);
    if (!handle->can_read()) return fail_null(ERROR_ACCESS_DENIED);
    std::uint64_t file_size = 0;
    if (const DWORD error = handle->size(&file_size); error != ERROR_SUCCESS) return fail_null(error);
    const std::uint64_t asked = (std::uint64_t{maximumSizeHigh} << 32) | maximumSizeLow;
    // A read-only mapping cannot grow the file.
    if (asked > file_size) return fail_null(ERROR_NOT_ENOUGH_MEMORY);
    const std::uint64_t size = asked == 0 ? file_size : asked;
    if (size == 0) return fail_null(ERROR_FILE_INVALID);
    const int fd = reopen_for_mapping(handle->fd());
    if (fd < 0) return fail_null(host::HostError::from_errno(errno, ERROR_NOT_ENOUGH_MEMORY));
    SetLastError(ERROR_SUCCESS);
    return host::register_handle(new host::FileMapping(fd, size));
}

const void* MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow, DWORD bytes) {
    auto* object = host::handle_as<host::FileMapping>(mapping);
    if (object == nullptr) return nullptr;
    if (desiredAccess != FILE_MAP_READ) return fail_null(ERROR_ACCESS_DENIED);
    const std::uint64_t offset = (std::uint64_t{offsetHigh} << 32) | offsetLow;
    if (offset % host::kViewAlignment != 0 || offset >= object->size()) return fail_null(ERROR_INVALID_PARAMETER);
    const std::uint64_t available = object->size() - offset;
    if (bytes > available) return fail_null(ERROR_INVALID_PARAMETER);
    const std::uint64_t length = bytes == 0 ? available : bytes;
    void* view = mmap(nullptr, length, PROT_READ, MAP_SHARED, object->fd(), static_cast<off_t>(offset));
    if (view == MAP_FAILED) return fail_null(host::HostError::from_errno(errno, ERROR_NOT_ENOUGH_MEMORY));
    std::lock_guard guard(host::g_views_lock);
    host::views()[view] = length;
    return view;
}

BOOL UnmapViewOfFile(const void* view) {
    std::size_t length = 0;
    {
        std::lock_guard guard(host::g_views_lock);
        const auto found = host::views().find(view);
        if (found == host::views().end()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        length = found->second;
        host::views().erase(found);
    }
    munmap(const_cast<void*>(view), length);
    return TRUE;
}

BOOL VirtualUnlock(const void* address, std::size_t bytes) {
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto first = reinterpret_cast<std::uintptr_t>(address);
    std::lock_guard guard(host::g_views_lock);
    auto view = host::views().upper_bound(address);
    if (view == host::views().begin()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    --view;
    const auto start = reinterpret_cast<std::uintptr_t>(view->first);
    const auto end = start + view->second;
    if (bytes == 0 || first < start || first >= end || bytes > end - first) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::uintptr_t from = first & ~(page - 1);
    const std::uintptr_t to = std::min(end, (first + bytes + page - 1) & ~(page - 1));
    madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
}

}  // namespace ce
