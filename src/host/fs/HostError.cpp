#include "host/fs/HostError.h"

#include <cerrno>

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

}  // namespace host
