// The path side of the handheld's files: deleting, copying, renaming, replacing,
// folders and attributes.

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "ce/Files.h"
#include "ce/Text.h"
#include "host/fs/AttributeStore.h"
#include "host/fs/FileHandle.h"
#include "host/fs/HostError.h"
#include "host/fs/NamedPath.h"
#include "host/fs/ShareGuard.h"
#include "host/fs/ShareLock.h"

namespace ce {

namespace {

constexpr DWORD kCopyChunk = 64 * 1024;
constexpr DWORD kKnownAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                   FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY;

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

BOOL fail_errno(DWORD otherwise) { return fail(host::HostError::from_errno(errno, otherwise)); }

// Whether a handle is open on a file, or on any file inside a folder.
bool in_use(const host::NamedPath& entry) {
    if (!entry.is_directory()) return host::ShareLock::in_use(entry.host());
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(entry.host(), error), end; !error && it != end;
         it.increment(error)) {
        std::error_code unknown;
        if (it->is_regular_file(unknown) && host::ShareLock::in_use(it->path())) return true;
    }
    return false;
}

bool is_below(const std::string& key, const std::string& folder_key) {
    return key.size() > folder_key.size() && key.compare(0, folder_key.size(), folder_key) == 0 &&
           key[folder_key.size()] == '\\';
}

// Renames without replacing what may have appeared at the target; a file system that
// cannot promise that gets a plain rename (the guard keeps the handheld's programs out).
int rename_no_replace(const std::filesystem::path& from, const std::filesystem::path& to) {
    const int result = renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    if (result != 0 && errno == EINVAL) return rename(from.c_str(), to.c_str());
    return result;
}

// The replacement's contents are on disk before its name takes the place of the old
// file, and the rename is on disk before the call returns.
bool sync_path(const std::filesystem::path& path, int flags) {
    const int fd = open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = fsync(fd) == 0;
    close(fd);
    return synced;
}

bool copy_contents(host::FileHandle& from, host::FileHandle& to, DWORD* error) {
    std::vector<char> buffer(kCopyChunk);
    for (;;) {
        DWORD got = 0;
        DWORD put = 0;
        *error = from.read(buffer.data(), kCopyChunk, &got);
        if (*error != ERROR_SUCCESS) return false;
        if (got == 0) return true;
        *error = to.write(buffer.data(), got, &put);
        if (*error != ERROR_SUCCESS) return false;
    }
}

// A copy keeps the source's time of last change, as on the device.
void copy_write_time(const host::FileHandle& from, const host::FileHandle& to) {
    struct stat info {};
    if (fstat(from.fd(), &info) != 0) return;
    const timespec times[2] = {{0, UTIME_OMIT}, info.st_mtim};
    futimens(to.fd(), times);
}

}  // namespace

BOOL DeleteFileW(LPCWSTR path) {
    host::ShareGuard guard;
    const host::NamedPath file(path);
    if (!file.ok()) return fail(file.error());
    if (!file.exists()) return fail(ERROR_FILE_NOT_FOUND);
    if (file.is_directory() || file.is_read_only()) return fail(ERROR_ACCESS_DENIED);
    if (host::ShareLock::in_use(file.host())) return fail(ERROR_SHARING_VIOLATION);
    if (unlink(file.host().c_str()) != 0) return fail_errno(ERROR_ACCESS_DENIED);
    host::AttributeStore::remove_tree(file.key());
    return TRUE;
}

BOOL CopyFileW(LPCWSTR existing, LPCWSTR target, BOOL failIfExists) {
    const auto source_path = host::DevicePath::parse(existing);
    const auto target_path = host::DevicePath::parse(target);
    if (!source_path.valid() || !target_path.valid())
        return fail(source_path.valid() ? target_path.error() : source_path.error());
    // Opened like any other reader and writer, so a copy respects the sharing of the
    // handles already open, and a file copied onto itself refuses the second open.
    HANDLE source = CreateFileW(existing, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (source == INVALID_HANDLE_VALUE) return FALSE;
    HANDLE copy = CreateFileW(target, GENERIC_WRITE, 0, failIfExists ? CREATE_NEW : CREATE_ALWAYS);
    if (copy == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        CloseHandle(source);
        return fail(error);
    }
    auto* from = host::handle_as<host::FileHandle>(source);
    auto* to = host::handle_as<host::FileHandle>(copy);
    DWORD error = ERROR_SUCCESS;
    const bool copied = copy_contents(*from, *to, &error);
    if (copied) copy_write_time(*from, *to);
    CloseHandle(copy);
    CloseHandle(source);
    if (!copied) {
        DeleteFileW(target);
        return fail(error);
    }
    const auto source_file = source_path.locate();
    const auto target_file = target_path.locate();
    const DWORD attributes =
        host::AttributeStore::stored(source_path.key(), source_file.host).value_or(FILE_ATTRIBUTE_ARCHIVE);
    if (!host::AttributeStore::set(target_path.key(), target_file.host, attributes | FILE_ATTRIBUTE_ARCHIVE))
        return fail(ERROR_WRITE_FAULT);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL MoveFileW(LPCWSTR existing, LPCWSTR target) {
    host::ShareGuard guard;
    const host::NamedPath from(existing);
    if (!from.ok()) return fail(from.error());
    if (!from.exists()) return fail(ERROR_FILE_NOT_FOUND);
    const host::NamedPath to(target);
    if (!to.ok()) return fail(to.error());
    if (from.is_root() || to.is_root()) return fail(ERROR_ACCESS_DENIED);
    // The same entry under another spelling is a change of case, not a clash.
    const bool same_entry = to.exists() && to.host() == from.host();
    if (to.exists() && !same_entry) return fail(ERROR_ALREADY_EXISTS);
    if (is_below(to.key(), from.key())) return fail(ERROR_ACCESS_DENIED);
    if (in_use(from)) return fail(ERROR_SHARING_VIOLATION);
    const auto destination = to.host().parent_path() / ce::utf8_from_utf16(to.path().name());
    if (destination == from.host()) return TRUE;
    const int renamed = same_entry ? rename(from.host().c_str(), destination.c_str())
                                   : rename_no_replace(from.host(), destination);
    if (renamed != 0) return fail_errno(ERROR_ACCESS_DENIED);
    host::AttributeStore::move_tree(from.key(), to.key());
    return TRUE;
}

BOOL ReplaceFileW(LPCWSTR replaced, LPCWSTR replacement) {
    host::ShareGuard guard;
    const host::NamedPath old_file(replaced);
    const host::NamedPath new_file(replacement);
    if (!old_file.ok() || !new_file.ok()) return fail(old_file.ok() ? new_file.error() : old_file.error());
    if (!old_file.exists() || !new_file.exists()) return fail(ERROR_FILE_NOT_FOUND);
    if (old_file.is_directory() || new_file.is_directory()) return fail(ERROR_ACCESS_DENIED);
    if (old_file.key() == new_file.key()) return fail(ERROR_INVALID_PARAMETER);
    if (old_file.is_read_only()) return fail(ERROR_ACCESS_DENIED);
    if (in_use(old_file) || in_use(new_file)) return fail(ERROR_SHARING_VIOLATION);
    // The replaced file's attributes, plus archive, go onto the replacement before it takes
    // the name, so that whenever a kill comes the name has one whole file with its own.
    const DWORD kept =
        host::AttributeStore::stored(old_file.key(), old_file.host()).value_or(FILE_ATTRIBUTE_ARCHIVE) |
        FILE_ATTRIBUTE_ARCHIVE;
    if (!host::AttributeStore::set(new_file.key(), new_file.host(), kept)) return fail(ERROR_WRITE_FAULT);
    if (!sync_path(new_file.host(), O_RDONLY)) return fail_errno(ERROR_WRITE_FAULT);
    if (rename(new_file.host().c_str(), old_file.host().c_str()) != 0) return fail_errno(ERROR_ACCESS_DENIED);
    sync_path(old_file.host().parent_path(), O_RDONLY | O_DIRECTORY);
    // Rows where the file system keeps nothing beside the files follow the file too.
    host::AttributeStore::move_tree(new_file.key(), old_file.key());
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR path) {
    host::ShareGuard guard;
    const host::NamedPath folder(path);
    if (!folder.ok()) return fail(folder.error());
    if (folder.exists()) return fail(ERROR_ALREADY_EXISTS);
    if (mkdir(folder.host().c_str(), 0700) != 0) return fail_errno(ERROR_ACCESS_DENIED);
    // Rows left by entries removed behind the handheld's back must not stick to the new folder.
    host::AttributeStore::remove_tree(folder.key());
    return TRUE;
}

BOOL RemoveDirectoryW(LPCWSTR path) {
    host::ShareGuard guard;
    const host::NamedPath folder(path);
    if (!folder.ok()) return fail(folder.error());
    if (!folder.exists()) return fail(ERROR_FILE_NOT_FOUND);
    if (folder.is_root() || !folder.is_directory() || folder.is_read_only()) return fail(ERROR_ACCESS_DENIED);
    if (rmdir(folder.host().c_str()) != 0) return fail_errno(ERROR_ACCESS_DENIED);
    host::AttributeStore::remove_tree(folder.key());
    return TRUE;
}

DWORD GetFileAttributesW(LPCWSTR path) {
    const host::NamedPath entry(path);
    if (!entry.ok() || !entry.exists()) {
        SetLastError(entry.ok() ? ERROR_FILE_NOT_FOUND : entry.error());
        return INVALID_FILE_ATTRIBUTES;
    }
    return host::AttributeStore::reported(entry.key(), entry.host(), entry.is_directory());
}

BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes) {
    if ((attributes & ~kKnownAttributes) != 0) return fail(ERROR_INVALID_PARAMETER);
    const host::NamedPath entry(path);
    if (!entry.ok()) return fail(entry.error());
    if (!entry.exists()) return fail(ERROR_FILE_NOT_FOUND);
    if (entry.is_root()) return fail(ERROR_ACCESS_DENIED);
    // The directory bit comes from the file system; a caller passing back what it read is fine.
    if (!host::AttributeStore::set(entry.key(), entry.host(), attributes)) return fail(ERROR_WRITE_FAULT);
    return TRUE;
}

}  // namespace ce
