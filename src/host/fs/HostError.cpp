#include "host/fs/HostError.h"

#include <cerrno>
#include <cstring>

namespace host {

ce::DWORD HostError::from_errno(int error, ce::DWORD otherwise) {
    switch (error) {
    case ENOENT: return ce::ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ce::ERROR_PATH_NOT_FOUND;
    case EACCES: case EPERM: case EROFS: case EISDIR: case EBUSY: return ce::ERROR_ACCESS_DENIED;
    case EEXIST: return ce::ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ce::ERROR_DIR_NOT_EMPTY;
    case ENOSPC: case EDQUOT: case EFBIG: return ce::ERROR_DISK_FULL;
    case ENAMETOOLONG: return ce::ERROR_INVALID_NAME;
    case ENOMEM: return ce::ERROR_NOT_ENOUGH_MEMORY;
    default: return otherwise;
    }
}

std::string HostError::in_words(int error) {
    switch (error) {
    case ENOSPC: return "no space left on the device holding the handheld";
    case EDQUOT: return "the disk quota of the account holding the handheld is used up";
    case EIO: return "the disk holding the handheld reported an input/output error";
    case EROFS: return "the handheld is on a file system mounted read-only";
    default: return std::strerror(error);
    }
}

}  // namespace host
