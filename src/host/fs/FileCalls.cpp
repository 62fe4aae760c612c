// The handle side of the handheld's files: opening, reading, writing, seeking.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "ce/Files.h"
#include "host/fs/AttributeStore.h"
#include "host/fs/FileHandle.h"
#include "host/fs/HostError.h"
#include "host/fs/NamedPath.h"
#include "host/hw/SerialPort.h"
#include "host/fs/ShareGuard.h"
#include "host/fs/ShareLock.h"

namespace ce {

namespace {

constexpr DWORD kAccessBits = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareBits = FILE_SHARE_READ | FILE_SHARE_WRITE;

HANDLE fail_open(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

bool valid_request(DWORD access, DWORD share, DWORD disposition) {
    const bool known_disposition = disposition >= CREATE_NEW && disposition <= TRUNCATE_EXISTING;
    // Truncating an existing file is writing to it.
    const bool truncate_ok = disposition != TRUNCATE_EXISTING || (access & GENERIC_WRITE) != 0;
    return (access & ~kAccessBits) == 0 && (share & ~kShareBits) == 0 && known_disposition && truncate_ok;
}

DWORD check_disposition(bool exists, DWORD disposition) {
    if (exists && disposition == CREATE_NEW) return ERROR_FILE_EXISTS;
    if (!exists && (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING)) return ERROR_FILE_NOT_FOUND;
    return ERROR_SUCCESS;
}

// The host descriptor may do more than the handle (a truncating open that only reads);
// FileHandle enforces what the handle was granted. An existing file is truncated only
// once its sharing lets this handle in (ShareLock takes it on this descriptor).
// O_NONBLOCK keeps a FIFO someone left in fs/ from hanging the open; anything but a
// regular file is refused right after.
int open_host(const host::NamedPath& file, DWORD access, bool truncates) {
    int flags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    flags |= ((access & GENERIC_WRITE) != 0 || truncates) ? O_RDWR : O_RDONLY;
    if (!file.exists()) flags |= O_CREAT | O_EXCL;
    const int fd = open(file.host().c_str(), flags, 0600);
    if (fd < 0) return -1;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        errno = EACCES;
        return -1;
    }
    return fd;
}

// A new file gets the attributes asked for plus archive; a truncated one gains archive.
bool record_attributes(const host::NamedPath& file, int fd, bool truncates, DWORD attributes) {
    if (!file.exists()) return host::AttributeStore::set(file.key(), file.host(), attributes | FILE_ATTRIBUTE_ARCHIVE, fd);
    return !truncates || host::AttributeStore::mark_archive(file.key(), file.host(), fd);
}

// Undoes an open that cannot be handed out: a file it made goes again.
HANDLE abandon(const host::NamedPath& file, int fd, DWORD error) {
    close(fd);
    if (!file.exists()) unlink(file.host().c_str());
    return fail_open(error);
}

}  // namespace

HANDLE CreateFileW(LPCWSTR path, DWORD desiredAccess, DWORD shareMode, DWORD creationDisposition,
                   DWORD attributes) {
    if (!valid_request(desiredAccess, shareMode, creationDisposition)) return fail_open(ERROR_INVALID_PARAMETER);
    if (host::hw::SerialPort::names_port(path)) return host::hw::SerialPort::open(path);
    host::ShareGuard guard;
    // An existing file is opened as it is found, as the handle will use it (before
    // anything is truncated or its sharing is known: see open_host).
    const bool may_truncate = creationDisposition == CREATE_ALWAYS || creationDisposition == TRUNCATE_EXISTING;
    const int flags = ((desiredAccess & GENERIC_WRITE) != 0 || may_truncate ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOCTTY;
    host::NamedPath file(path, flags);
    if (!file.ok()) return fail_open(file.error());
    if (file.is_directory()) return fail_open(ERROR_ACCESS_DENIED);
    if (const DWORD error = check_disposition(file.exists(), creationDisposition); error != ERROR_SUCCESS)
        return fail_open(error);
    const bool truncates = file.exists() && may_truncate;
    if (file.exists() && ((desiredAccess & GENERIC_WRITE) != 0 || truncates) && file.is_read_only())
        return fail_open(ERROR_ACCESS_DENIED);

    int fd = file.take_fd();
    if (fd < 0) fd = open_host(file, desiredAccess, truncates);
    if (fd < 0) return fail_open(host::HostError::from_errno(errno, ERROR_ACCESS_DENIED));
    if (const DWORD error = host::ShareLock::take(fd, desiredAccess, shareMode); error != ERROR_SUCCESS)
        return abandon(file, fd, error);
    if (truncates && ftruncate(fd, 0) != 0) return abandon(file, fd, host::HostError::from_errno(errno, ERROR_WRITE_FAULT));
    if (!record_attributes(file, fd, truncates, attributes)) return abandon(file, fd, ERROR_WRITE_FAULT);
    // Only a handle that writes looks its file up in the attribute store again.
    const bool writes = (desiredAccess & GENERIC_WRITE) != 0;
    HANDLE handle = host::register_handle(new host::FileHandle(fd, desiredAccess, writes ? file.key() : std::string{}));
    const bool reopened = creationDisposition == CREATE_ALWAYS || creationDisposition == OPEN_ALWAYS;
    SetLastError(file.exists() && reopened ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead) {
    if (bytesRead != nullptr) *bytesRead = 0;
    auto* handle = host::handle_as<host::FileHandle>(file);
    if (handle == nullptr) return FALSE;
    if (buffer == nullptr && bytesToRead > 0) return fail(ERROR_INVALID_PARAMETER);
    DWORD done = 0;
    const DWORD error = handle->read(buffer, bytesToRead, &done);
    if (bytesRead != nullptr) *bytesRead = done;
    return error == ERROR_SUCCESS ? TRUE : fail(error);
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten) {
    if (bytesWritten != nullptr) *bytesWritten = 0;
    auto* handle = host::handle_as<host::FileHandle>(file);
    if (handle == nullptr) return FALSE;
    if (buffer == nullptr && bytesToWrite > 0) return fail(ERROR_INVALID_PARAMETER);
    DWORD done = 0;
    const DWORD error = handle->write(buffer, bytesToWrite, &done);
    if (bytesWritten != nullptr) *bytesWritten = done;
    return error == ERROR_SUCCESS ? TRUE : fail(error);
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod) {
    auto* handle = host::handle_as<host::FileHandle>(file);
    if (handle == nullptr) return INVALID_SET_FILE_POINTER;
    const auto low = static_cast<std::uint64_t>(static_cast<DWORD>(distance));
    const std::int64_t offset =
        distanceHigh == nullptr
            ? std::int64_t{distance}
            : static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<DWORD>(*distanceHigh)) << 32) | low);
    // Without a high part the caller can only take a position that fits in 32 bits
    // (and is not the failure value).
    const std::int64_t limit =
        distanceHigh == nullptr ? std::int64_t{INVALID_SET_FILE_POINTER} - 1 : std::numeric_limits<std::int64_t>::max();
    std::int64_t position = 0;
    if (const DWORD error = handle->seek(offset, moveMethod, limit, &position); error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh != nullptr) *distanceHigh = static_cast<LONG>(static_cast<std::uint64_t>(position) >> 32);
    // A low part equal to INVALID_SET_FILE_POINTER is told from a failure by the last error.
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(position);
}

BOOL SetEndOfFile(HANDLE file) {
    auto* handle = host::handle_as<host::FileHandle>(file);
    if (handle == nullptr) return FALSE;
    const DWORD error = handle->set_end();
    return error == ERROR_SUCCESS ? TRUE : fail(error);
}

BOOL FlushFileBuffers(HANDLE file) {
    auto* handle = host::handle_as<host::FileHandle>(file);
    if (handle == nullptr) return FALSE;
    const DWORD error = handle->flush();
    return error == ERROR_SUCCESS ? TRUE : fail(error);
}

DWORD GetFileSize(HANDLE file, DWORD* sizeHigh) {
    auto* handle = host::handle_as<host::FileHandle>(file);
    if (handle == nullptr) return INVALID_FILE_SIZE;
    std::uint64_t bytes = 0;
    if (const DWORD error = handle->size(&bytes); error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_FILE_SIZE;
    }
    if (sizeHigh != nullptr) *sizeHigh = static_cast<DWORD>(bytes >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(bytes);
}

}  // namespace ce
