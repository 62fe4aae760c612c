#include "host/fs/FileHandle.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "ce/Files.h"
#include "host/fs/AttributeStore.h"
#include "host/fs/HostError.h"

namespace host {

FileHandle::FileHandle(int fd, ce::DWORD access, std::string key) : fd_(fd), access_(access), key_(std::move(key)) {}

// Closing the host file gives back the sharing locks it holds.
FileHandle::~FileHandle() { close(fd_); }

bool FileHandle::can_read() const { return (access_ & ce::GENERIC_READ) != 0; }
bool FileHandle::can_write() const { return (access_ & ce::GENERIC_WRITE) != 0; }

ce::DWORD FileHandle::read(void* buffer, ce::DWORD bytes, ce::DWORD* done) {
    *done = 0;
    if (!can_read()) return ce::ERROR_ACCESS_DENIED;
    std::lock_guard guard(lock_);
    auto* out = static_cast<char*>(buffer);
    while (*done < bytes) {
        const ce::DWORD asked = bytes - *done;
        const ssize_t got = ::pread(fd_, out + *done, asked, static_cast<off_t>(position_));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return HostError::from_errno(errno, ce::ERROR_READ_FAULT);
        *done += static_cast<ce::DWORD>(got);
        position_ += got;
        // A regular file reads short only at its end: asking again would find nothing.
        if (static_cast<ce::DWORD>(got) < asked) break;
    }
    return ce::ERROR_SUCCESS;
}

ce::DWORD FileHandle::write(const void* buffer, ce::DWORD bytes, ce::DWORD* done) {
    *done = 0;
    if (!can_write()) return ce::ERROR_ACCESS_DENIED;
    std::lock_guard guard(lock_);
    const auto* in = static_cast<const char*>(buffer);
    while (*done < bytes) {
        const ssize_t put = ::pwrite(fd_, in + *done, bytes - *done, static_cast<off_t>(position_));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return put < 0 ? HostError::from_errno(errno, ce::ERROR_WRITE_FAULT) : ce::ERROR_WRITE_FAULT;
        *done += static_cast<ce::DWORD>(put);
        position_ += put;
    }
    if (bytes > 0) note_changed();
    return ce::ERROR_SUCCESS;
}

ce::DWORD FileHandle::seek(std::int64_t distance, ce::DWORD method, std::int64_t limit, std::int64_t* position) {
    std::lock_guard guard(lock_);
    std::int64_t base = 0;
    if (method == ce::FILE_CURRENT) {
        base = position_;
    } else if (method == ce::FILE_END) {
        struct stat info {};
        base = fstat(fd_, &info) == 0 ? info.st_size : -1;
    } else if (method != ce::FILE_BEGIN) {
        return ce::ERROR_INVALID_PARAMETER;
    }
    if (base < 0) return ce::ERROR_INVALID_HANDLE;
    if (distance > 0 && base > std::numeric_limits<std::int64_t>::max() - distance) return ce::ERROR_INVALID_PARAMETER;
    const std::int64_t target = base + distance;
    if (target < 0) return ce::ERROR_NEGATIVE_SEEK;
    if (target > limit) return ce::ERROR_INVALID_PARAMETER;
    // Beyond 4 GB the file system may not go; it is asked, so that such a seek fails here
    // as it always did rather than at the next read or write.
    if (target > std::numeric_limits<std::uint32_t>::max() && lseek(fd_, static_cast<off_t>(target), SEEK_SET) < 0)
        return HostError::from_errno(errno, ce::ERROR_INVALID_PARAMETER);
    position_ = target;
    *position = target;
    return ce::ERROR_SUCCESS;
}

ce::DWORD FileHandle::set_end() {
    if (!can_write()) return ce::ERROR_ACCESS_DENIED;
    std::lock_guard guard(lock_);
    if (ftruncate(fd_, static_cast<off_t>(position_)) != 0) return HostError::from_errno(errno, ce::ERROR_WRITE_FAULT);
    note_changed();
    return ce::ERROR_SUCCESS;
}

ce::DWORD FileHandle::flush() {
    if (!can_write()) return ce::ERROR_ACCESS_DENIED;
    return fsync(fd_) == 0 ? ce::ERROR_SUCCESS : HostError::from_errno(errno, ce::ERROR_WRITE_FAULT);
}

ce::DWORD FileHandle::size(std::uint64_t* bytes) {
    struct stat info {};
    if (fstat(fd_, &info) != 0) return ce::ERROR_INVALID_HANDLE;
    *bytes = static_cast<std::uint64_t>(info.st_size);
    return ce::ERROR_SUCCESS;
}

void FileHandle::note_changed() {
    if (changed_) return;
    changed_ = AttributeStore::mark_archive(key_, {}, fd_);
}

}  // namespace host
