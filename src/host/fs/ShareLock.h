#pragma once
// The sharing state of one open file handle, visible to every process of the handheld.
// Each file (keyed by its case-folded device path, so the state stays with the path when
// ReplaceFileW swaps the file under it) has a lock file in run/share/; a handle holds
// shared OFD locks on the bytes that say what it does and what it refuses to others.
// The kernel drops them when the process ends, however it ends.

#include <filesystem>
#include <memory>
#include <string>

#include "ce/Types.h"

namespace host {

class ShareLock {
public:
    // Takes the state of a new handle with `access` (GENERIC_READ/WRITE) granting `share`
    // (FILE_SHARE_READ/WRITE) to others. Null with *error = ERROR_SHARING_VIOLATION when
    // another handle refuses this access or already uses what this one refuses.
    // Call under a ShareGuard, together with the open it stands for.
    static std::unique_ptr<ShareLock> acquire(const std::string& key, ce::DWORD access, ce::DWORD share,
                                              ce::DWORD* error);
    // Whether any handle in any process has the file open. Call under a ShareGuard.
    static bool in_use(const std::string& key);

    ~ShareLock();
    ShareLock(const ShareLock&) = delete;
    ShareLock& operator=(const ShareLock&) = delete;

private:
    ShareLock(int fd, std::filesystem::path path);
    static std::filesystem::path lock_path(const std::string& key);

    int fd_;
    std::filesystem::path path_;
};

}  // namespace host
