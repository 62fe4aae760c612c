#pragma once
// The sharing state of the handheld's open files, visible to every process. A handle
// holds shared OFD locks on bytes of its own host file that say what it does and what it
// refuses to others (advisory locks: the contents are untouched). They belong to the
// handle's open file, so the kernel drops them when the handle closes or its process
// ends, however it ends; nothing is made or left behind for them. Deleting, moving and
// replacing refuse a file someone has open, so the state never has to follow a path.

#include <filesystem>

#include "ce/Types.h"

namespace host {

class ShareLock {
public:
    // Takes the state of a new handle with `access` (GENERIC_READ/WRITE) granting `share`
    // (FILE_SHARE_READ/WRITE) to others on `fd`, its freshly opened file: ERROR_SUCCESS,
    // or ERROR_SHARING_VIOLATION when another handle refuses this access or already uses
    // what this one refuses. Call under a ShareGuard, together with the open it stands for.
    static ce::DWORD take(int fd, ce::DWORD access, ce::DWORD share);
    // Whether any handle in any process has the file at `host` open. Call under a ShareGuard.
    static bool in_use(const std::filesystem::path& host);
};

}  // namespace host
